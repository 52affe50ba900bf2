#include "core/components/retention_time_table.h"

#include "core/common/format.h"
#include "core/common/number_text.h"
#include "core/common/text_codec.h"
#include "core/components/component_table.h"
#include "core/components/csv_table.h"
#include "core/components/typed_cell.h"
#include "core/messages/message_log.h"

#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>

namespace talvex {
namespace {

enum CompsTimeCell : std::size_t { kNameCell = 0, kGasTimeCell = 1, kLiquidTimeCell = 2 };

constexpr int kFileDecimals = 4;
constexpr std::string_view kMissingText = "---";

const std::string& Cell(const CsvTable::Row& row, std::size_t index) {
    static const std::string empty;
    return index < row.size() ? row[index] : empty;
}

bool IsBlankRow(const CsvTable::Row& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& c) { return c.empty(); });
}

// Every value that counts as missing (NaN and -inf too) becomes the one marker, so that sorting sees a
// total order and the calculations may test for NotSet exactly.
double Canonical(double value) {
    return IsNotSet(value) ? NotSet : value;
}

double TimeCell(const std::string& text) {
    return text.empty() ? NotSet : Canonical(ParseAtof(text));
}

std::string FileTimeText(double time) {
    return IsNotSet(time) ? std::string() : FormatFixed(time, kFileDecimals);
}

} // namespace

std::filesystem::path RetentionTimeTable::FilePath(const std::filesystem::path& dataFolder) {
    return dataFolder / std::filesystem::path(std::string(kCompsTimeFileName));
}

bool RetentionTimeTable::LoadTable(const std::filesystem::path& dataFolder, const ComponentTable& components,
                                   MessageLog& log, std::string* error) {
    records_.clear();
    recordCount_ = 0;
    headerLength_ = -1; // a failed load must not leave the offset of an older file for the next save
    modified_ = false;

    CsvTable file;
    if (!file.ReadCsv(FilePath(dataFolder), 0, error))
        return false;
    headerLength_ = file.HeaderLength();

    for (std::size_t i = 1; i < file.rows.size(); ++i) {
        const CsvTable::Row& row = file.rows[i];
        // A blank line (often left at the end by a text editor) is no record to complain about.
        if (IsBlankRow(row))
            continue;
        CompTime r;
        r.rowId = static_cast<std::int32_t>(records_.size());
        r.componentName = Cell(row, kNameCell);
        r.gasTime = TimeCell(Cell(row, kGasTimeCell));
        r.liquidTime = TimeCell(Cell(row, kLiquidTimeCell));
        r.component = components.FindComponent(r.componentName);
        if (!r.component)
            log.PostText(kMsgError, "Компонент \"" + r.componentName +
                                        "\" таблицы времен выходов н-Парафинов не найден в базовой таблице.");
        records_.push_back(std::move(r));
    }
    recordCount_ = static_cast<std::int32_t>(records_.size());
    return true;
}

bool RetentionTimeTable::SaveTable(const std::filesystem::path& dataFolder, std::string* error) {
    const std::filesystem::path path = FilePath(dataFolder);

    // The rewrite keeps the first headerLength_ bytes. Should the header line have changed length since
    // the load (the file edited elsewhere meanwhile), that would cut it or keep a data line in it.
    CsvTable current;
    if (!current.ReadCsv(path, 0, error))
        return false;
    if (headerLength_ >= 0 && current.HeaderLength() != headerLength_) {
        if (error)
            *error = StrPrintf("Не удалось записать файл %s:\r\nфайл изменился после загрузки таблицы.",
                               path.string().c_str());
        return false;
    }

    CsvTable table;
    table.rows.reserve(records_.size());
    for (const CompTime& r : records_)
        table.rows.push_back({r.componentName, FileTimeText(r.gasTime), FileTimeText(r.liquidTime)});
    if (!table.WriteCsv(path, headerLength_, error))
        return false;
    modified_ = false; // the file now holds what memory holds
    return true;
}

bool RetentionTimeTable::SaveIfModified(const std::filesystem::path& dataFolder, std::string* error) {
    if (!modified_)
        return true;
    SortByGasTime();
    return SaveTable(dataFolder, error);
}

void RetentionTimeTable::SortByGasTime() {
    std::stable_sort(records_.begin(), records_.end(), [](const CompTime& a, const CompTime& b) {
        return Canonical(a.gasTime) < Canonical(b.gasTime);
    });
}

std::int32_t RetentionTimeTable::AddRecord() {
    CompTime r;
    r.rowId = recordCount_++;
    r.componentName = std::string(kNewCompTimeName);
    records_.push_back(std::move(r));
    modified_ = true;
    return records_.back().rowId;
}

bool RetentionTimeTable::DeleteRecord(std::int32_t rowId) {
    const auto it = std::find_if(records_.begin(), records_.end(),
                                 [rowId](const CompTime& r) { return r.rowId == rowId; });
    if (it == records_.end())
        return false;
    records_.erase(it);
    modified_ = true;
    return true;
}

std::optional<std::string> RetentionTimeTable::SetCell(std::size_t index, int column, std::string_view text,
                                                       std::string* refusal) {
    if (index >= records_.size())
        return std::nullopt;
    CompTime& r = records_[index];
    std::string shown;
    if (column == kNameColumn) {
        r.componentName = std::string(text);
        shown = r.componentName;
    } else if (column == kGasTimeColumn || column == kLiquidTimeColumn) {
        auto typed = NormaliseTypedCell(text);
        if (!typed) {
            if (refusal)
                *refusal = NotANumberMessage(text);
            return std::nullopt;
        }
        (column == kGasTimeColumn ? r.gasTime : r.liquidTime) = typed->first;
        shown = std::move(typed->second);
    } else {
        return std::nullopt;
    }
    modified_ = true;
    return shown;
}

std::string RetentionTimeTable::TimeText(double time) {
    return IsNotSet(time) ? std::string(kMissingText) : FormatFixed(time, kFileDecimals);
}

} // namespace talvex
