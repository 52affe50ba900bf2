#include "core/components/csv_table.h"

#include "core/common/data_file_io.h"
#include "core/common/format.h"
#include "core/common/text_codec.h"

#include <limits>

namespace talvex {
namespace {

// Why the bytes of a data file break a limit, or empty.
std::string LimitProblem(std::string_view bytes) {
    std::size_t rows = 0;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        const bool lineEnd = i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n';
        const std::size_t lineBytes = (lineEnd ? i + 2 : i) - lineStart;
        if (lineBytes > kMaxCsvLineBytes)
            return StrPrintf("строка %zu длиннее %zu байт.", rows + 1, kMaxCsvLineBytes);
        if (!lineEnd)
            continue;
        if (++rows > kMaxCsvRows)
            return StrPrintf("в файле больше %zu строк.", kMaxCsvRows);
        lineStart = i + 2;
        ++i;
    }
    return {};
}

} // namespace

std::vector<CsvTable::Row> CsvTable::ParseBytes(std::string_view bytes) {
    std::vector<Row> result;
    Row row;
    std::string cell;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            row.push_back(Cp1251ToUtf8(cell));
            cell.clear();
            result.push_back(std::move(row));
            row.clear();
            ++i;
        } else if (c == ';') {
            row.push_back(Cp1251ToUtf8(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    // Whatever follows the last CR LF is an unfinished line and does not count.
    return result;
}

bool CsvTable::ToBytes(std::string& bytes, std::string* error) const {
    bytes.clear();
    std::string line;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        line.clear();
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& cell = rows[r][c];
            const char* problem = nullptr;
            if (cell.find(';') != std::string::npos || cell.find("\r\n") != std::string::npos)
                problem = "содержит разделитель \";\" или перевод строки";
            else if (Cp1251ToUtf8(Utf8ToCp1251(cell)) != cell)
                problem = "содержит символы, которых нет в кодировке Windows-1251";
            if (problem) {
                if (error)
                    *error = StrPrintf("Строка %zu, столбец %zu: текст \"%s\" %s.", r + 1, c + 1,
                                       cell.c_str(), problem);
                bytes.clear();
                return false;
            }
            if (c > 0)
                line += ';';
            line += cell;
        }
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    return true;
}

bool CsvTable::ReadCsv(const std::filesystem::path& path, std::int64_t dataStart, std::string* error) {
    rows.clear();
    if (dataStart < 0) {
        if (error)
            *error =
                StrPrintf("Не удалось прочитать файл %s:\r\nневерное начало данных.", path.string().c_str());
        return false;
    }
    auto refuse = [&](const std::string& reason) {
        if (error)
            *error = StrPrintf("Не удалось прочитать файл %s:\r\n%s", path.string().c_str(), reason.c_str());
        return false;
    };
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxCsvFileBytes)
        return refuse(StrPrintf("файл больше %llu байт.", static_cast<unsigned long long>(kMaxCsvFileBytes)));
    std::string bytes;
    if (!ReadFileFrom(path, static_cast<std::uint64_t>(dataStart), bytes, error))
        return false;
    if (bytes.size() > kMaxCsvFileBytes) // grew since it was measured
        return refuse(StrPrintf("файл больше %llu байт.", static_cast<unsigned long long>(kMaxCsvFileBytes)));
    if (const std::string problem = LimitProblem(bytes); !problem.empty())
        return refuse(problem);
    rows = ParseBytes(bytes);
    return true;
}

bool CsvTable::WriteCsv(const std::filesystem::path& path, std::int64_t dataStart, std::string* error) const {
    if (dataStart < 0) {
        if (error)
            *error = StrPrintf("Не удалось записать файл %s:\r\nв файле нет строки заголовка.",
                               path.string().c_str());
        return false;
    }
    std::string bytes;
    std::string reason;
    if (!ToBytes(bytes, &reason)) {
        if (error)
            *error = StrPrintf("Не удалось записать файл %s:\r\n%s", path.string().c_str(), reason.c_str());
        return false;
    }
    return RewriteFileAfter(path, static_cast<std::uint64_t>(dataStart), bytes, error);
}

std::int32_t CsvTable::HeaderLength() const {
    if (rows.empty() || rows.front().empty())
        return -1;
    std::size_t length = 1; // the LF; every cell brings its own ";" or, for the last one, the CR
    for (const std::string& cell : rows.front())
        length += CodePointCount(cell) + 1;
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(length > kMax ? kMax : length);
}

} // namespace talvex
