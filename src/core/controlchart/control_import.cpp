#include "core/controlchart/control_import.h"

#include "core/common/case_fold.h"
#include "core/common/format.h"
#include "core/common/text_codec.h"
#include "core/components/csv_table.h"
#include "core/controlchart/control_date.h"
#include "core/section7/controls.h"
#include "core/section8/condensate.h"

#include <charconv>
#include <cmath>

namespace talvex::controlchart {
namespace {

constexpr const char* kColumns[] = {"дата",      "вид",       "среда",   "состав",
                                    "компонент", "результат", "опорное", "норматив"};
constexpr std::size_t kColumnCount = std::size(kColumns);
constexpr std::size_t kMaxComponentChars = 255;

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> SplitCells(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t semi = line.find(';', start);
        cells.push_back(
            Trim(line.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start)));
        if (semi == std::string_view::npos)
            return cells;
        start = semi + 1;
    }
}

// The whole cell must be a finite number: "12,5", "-0.3", "1e-2"; not "12 %", "", "1.2.3".
bool ReadNumber(std::string_view cell, double& value) {
    std::string text(cell);
    for (char& c : text)
        if (c == ',')
            c = '.';
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size() && std::isfinite(value);
}

// Reads one result line into `o`; the reason when it is not one.
std::string ReadResult(const std::vector<std::string_view>& cells, ControlObservation& o) {
    if (cells.size() < kColumnCount)
        return StrPrintf("%zu столбцов вместо %zu", cells.size(), kColumnCount);
    for (std::size_t k = kColumnCount; k < cells.size(); ++k)
        if (!cells[k].empty())
            return StrPrintf("лишний столбец %zu: «%s»", k + 1, std::string(cells[k]).c_str());
    const auto date = ParseControlDate(cells[0]);
    if (!date)
        return "неверная дата «" + std::string(cells[0]) + "» (ДД.ММ.ГГГГ[ ЧЧ:ММ] или ISO 8601)";
    o.time = date->seconds;
    if (EqualsIgnoringCase(cells[1], "ОКП"))
        o.key.kind = ControlKind::Okp;
    else if (EqualsIgnoringCase(cells[1], "ОКЭ"))
        o.key.kind = ControlKind::Oke;
    else
        return "вид «" + std::string(cells[1]) + "»: нужно ОКП или ОКЭ";
    if (EqualsIgnoringCase(cells[2], "газ"))
        o.key.medium = ControlMedium::Gas;
    else if (EqualsIgnoringCase(cells[2], "конденсат"))
        o.key.medium = ControlMedium::Condensate;
    else
        return "среда «" + std::string(cells[2]) + "»: нужно газ или конденсат";
    const std::string_view list = cells[3];
    const bool gas = o.key.medium == ControlMedium::Gas;
    if (o.key.kind == ControlKind::Oke) {
        if (!list.empty())
            return "состав «" + std::string(list) + "»: для ОКЭ состав не указывается";
    } else if (gas && EqualsIgnoringCase(list, "компонентный")) {
        o.key.list = "component";
    } else if (gas && EqualsIgnoringCase(list, "компонентно-фракционный")) {
        o.key.list = "fractional";
    } else if (!gas &&
               (EqualsIgnoringCase(list, "A") || EqualsIgnoringCase(list, "А"))) { // Latin or Cyrillic
        o.key.list = "A";
    } else if (!gas && (EqualsIgnoringCase(list, "B") || EqualsIgnoringCase(list, "В"))) {
        o.key.list = "B";
    } else {
        return "состав «" + std::string(list) + "»: для ОКП " +
               (gas ? "газа нужно компонентный или компонентно-фракционный" : "конденсата нужно A или B");
    }
    if (cells[4].empty())
        return "нет компонента";
    if (CodePointCount(cells[4]) > kMaxComponentChars)
        return StrPrintf("имя компонента длиннее %zu символов", kMaxComponentChars);
    o.key.component = std::string(cells[4]);
    const char* names[] = {"результат", "опорное", "норматив"};
    double values[3] = {};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!ReadNumber(cells[5 + k], values[k]))
            return std::string(names[k]) + " «" + std::string(cells[5 + k]) + "» не число";
    }
    for (std::size_t k = 0; k < 2; ++k)
        if (values[k] < 0.0 || values[k] > 100.0)
            return std::string(names[k]) + " вне 0…100 % масс.";
    if (!(values[2] > 0.0))
        return "норматив должен быть больше нуля";
    o.measured = values[0];
    o.reference = values[1];
    o.difference = std::fabs(o.measured - o.reference);
    if (o.key.kind == ControlKind::Okp)
        o.limit = gas ? ControlSampleLimit(values[2], o.measured, o.reference)
                      : CondensateOkpLimit(values[2], o.reference, o.measured);
    else
        o.limit =
            gas ? ControlStandardLimit(values[2], o.reference) : CondensateOkeLimit(values[2], o.reference);
    if (!(o.limit > 0.0))
        return "норматив дает нулевой предел K (опорное и результат равны нулю?)";
    o.imported = true;
    return {};
}

} // namespace

std::variant<std::vector<ControlObservation>, std::string> ParseControlImport(std::string_view bytes) {
    if (bytes.size() > kMaxCsvFileBytes)
        return StrPrintf("файл: больше %llu байт", static_cast<unsigned long long>(kMaxCsvFileBytes));
    // The limits count the bytes as the file holds them (conversion keeps every line end in its place).
    std::size_t lines = 0;
    for (std::size_t from = 0; from < bytes.size();) {
        std::size_t end = bytes.find('\n', from);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        ++lines;
        if (end - from > kMaxCsvLineBytes)
            return StrPrintf("строка %zu: длиннее %zu байт", lines, kMaxCsvLineBytes);
        if (lines > kMaxCsvRows)
            return StrPrintf("файл: больше %zu строк", kMaxCsvRows);
        from = end;
    }
    std::string converted;
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (!IsValidUtf8(text)) {
        converted = Cp1251ToUtf8(text);
        text = converted;
    }
    std::vector<ControlObservation> results;
    std::size_t lineNo = 0;
    bool header = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::vector<std::string_view> cells = SplitCells(line);
        bool blank = true;
        for (const std::string_view c : cells)
            blank = blank && c.empty();
        if (blank)
            continue;
        if (!header) {
            bool matches = cells.size() >= kColumnCount;
            for (std::size_t k = 0; matches && k < cells.size(); ++k)
                matches = k < kColumnCount ? EqualsIgnoringCase(cells[k], kColumns[k]) : cells[k].empty();
            if (!matches)
                return StrPrintf(
                    "строка %zu: нужен заголовок дата;вид;среда;состав;компонент;результат;опорное;норматив",
                    lineNo);
            header = true;
            continue;
        }
        ControlObservation o;
        if (const std::string reason = ReadResult(cells, o); !reason.empty())
            return StrPrintf("строка %zu: ", lineNo) + reason;
        o.order = static_cast<std::int64_t>(lineNo);
        results.push_back(std::move(o));
    }
    if (!header)
        return std::string(
            "строка 1: нужен заголовок дата;вид;среда;состав;компонент;результат;опорное;норматив");
    if (results.empty())
        return StrPrintf("строка %zu: в файле нет ни одного результата", lineNo + 1);
    return results;
}

} // namespace talvex::controlchart
