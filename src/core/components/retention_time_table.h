#pragma once

#include "core/common/not_set.h"
#include "core/components/component_record.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvex {

class ComponentTable;
class MessageLog;

// The retention times of the n-paraffins, measured once by the laboratory, in the data folder.
inline constexpr std::string_view kCompsTimeFileName = "CompsTime.csv";

// The name a record added in the editor carries until the operator types one.
inline constexpr std::string_view kNewCompTimeName = "Задайте имя компонента!";

// One n-paraffin with its retention times, in minutes, on the gas and on the condensate column.
struct CompTime {
    // Identity of the record: its position among the data lines at load, or the record count at the
    // moment it was added. Unique within the table and never renumbered, so the editor can delete by it
    // after the rows have moved.
    std::int32_t rowId = 0;
    std::string componentName; // as read or typed
    double gasTime = NotSet;
    double liquidTime = NotSet;
    // The component database record found for the name at load, or null. Edits do not look it up again;
    // the next load does. Valid only until the component table is reloaded.
    const ComponentRecord* component = nullptr;
};

// The retention-time table: the records of CompsTime.csv, read before every recalculation and by the
// editor, written back only by the editor. The session owns one; the calculations read `Records()` in
// table order and never change it.
class RetentionTimeTable {
public:
    // The editable columns of the editor's grid; column 0 (the row number) is not editable.
    enum Column : int { kNameColumn = 1, kGasTimeColumn = 2, kLiquidTimeColumn = 3 };

    const std::vector<CompTime>& Records() const { return records_; }
    // Records after the last load plus those added since; deletions do not lower it.
    std::int32_t RecordCount() const { return recordCount_; }
    // Bytes of the file's header line (CR LF included) at the last load; -1 when the file had no line.
    std::int32_t HeaderLength() const { return headerLength_; }
    // Set by every edit, cleared by a load and by a successful save.
    bool Modified() const { return modified_; }

    static std::filesystem::path FilePath(const std::filesystem::path& dataFolder);

    // Replaces the records by the rows of CompsTime.csv in the data folder, in file order, and clears
    // the modified flag. A row is: name; gas time; condensate time — further cells are ignored, missing
    // or empty ones are NotSet, the others are read by the atof rules; rows whose cells are all empty
    // are skipped. Every record whose name the component table does not know posts an error to the log
    // and stays in the table without a component.
    //
    // A missing or unreadable file ends the caller's operation: false, no records and in `error` the
    // text the operator must see ("Файл <path> не найден." for a missing one).
    bool LoadTable(const std::filesystem::path& dataFolder, const ComponentTable& components, MessageLog& log,
                   std::string* error = nullptr);

    // Writes the records in table order behind the header line found at the last load: times with four
    // decimals, NotSet as an empty cell. Fails (false, `error` for the operator, the file and the records
    // untouched) when the file is missing, read-only or had no header line, when its header line has
    // changed length since the load, or when a name cannot be stored in the file.
    bool SaveTable(const std::filesystem::path& dataFolder, std::string* error = nullptr);

    // The editor's OK: when anything was edited, sorts by gas time and saves; otherwise the file is not
    // touched. On failure the sorted records stay in memory.
    bool SaveIfModified(const std::filesystem::path& dataFolder, std::string* error = nullptr);

    // Ascending gas time, records without one first. Records of equal gas time keep their order, so
    // saving an unchanged table does not shuffle the n-paraffins measured only on the condensate column.
    void SortByGasTime();

    // Appends a record named kNewCompTimeName without times; returns its rowId.
    std::int32_t AddRecord();

    // Removes the record with this rowId; false when there is none.
    bool DeleteRecord(std::int32_t rowId);

    // The operator typed `text` into a cell of the editor's grid at row `index` (table order). The name
    // is taken as typed. A time of "---" (any case) or empty text clears the time and the text stays as
    // typed; otherwise "," counts as ".", the value is read by the atof rules and shown with as many
    // decimals as the text had after its first point ("12,5" stores 12.5 and shows "12.5"); a value that
    // counts as missing (nan, -inf) clears the time and shows "---". A time that does not start with a
    // number ("abc") is refused: nothing changes and `refusal`, when given, gets the operator's message.
    // Returns the text the cell shows, or nothing when the row or the column cannot be edited or the
    // text was refused.
    std::optional<std::string> SetCell(std::size_t index, int column, std::string_view text,
                                       std::string* refusal = nullptr);

    // A time as the editor's grid shows it: four decimals, "---" when missing.
    static std::string TimeText(double time);

private:
    std::vector<CompTime> records_;
    std::int32_t recordCount_ = 0;
    std::int32_t headerLength_ = -1;
    bool modified_ = false;
};

} // namespace talvex
