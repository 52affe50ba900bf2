#pragma once

#include "core/components/component_record.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace talvex {

// The component database: the records of Comps.csv with the norms of TableSection7.csv (degassing gas)
// and TableSection8.csv (degassed condensate). The session owns one; the calculations read it and keep
// pointers into `records` only until the next load.
class ComponentTable {
public:
    std::vector<ComponentRecord> records;

    // Byte length of the header line of each file at the last load, -1 when the file gave no line; the
    // next save keeps that many bytes of Comps.csv.
    std::int32_t componentsHeaderLength = -1;
    std::int32_t gasNormsHeaderLength = -1;
    std::int32_t liquidNormsHeaderLength = -1;

    // Empties the table and loads the three files from the data folder. A missing or unreadable file is
    // skipped; the texts the operator must see (one per such file) are returned, none on success.
    //
    // Comps.csv: a header line, then one component per row; cells beyond the row's end count as empty,
    // rows whose cells are all empty are skipped. An empty FID factor is computed as molar mass / carbon
    // number when both are given and the carbon number is positive.
    // Norm files: a norm row names its component by key (cell 0, any letter case; an empty cell continues
    // the component of the row before) and is appended to that component's norms; a component that
    // Comps.csv lacks is appended as a record with only its name.
    std::vector<std::string> LoadComponents(const std::filesystem::path& dataFolder);

    // Writes every record as a row of Comps.csv behind the header line found at the last load, numbers
    // with six decimals and missing ones as empty cells. Fails (false, `error` for the operator, the old
    // file untouched) when the file is missing, had no header line at load or cannot be replaced.
    bool SaveComponents(const std::filesystem::path& dataFolder, std::string* error = nullptr) const;

    // The first record, in table order, whose display name or key equals `name` regardless of letter case
    // (the display name of a record is tried before its key); nullptr when none does or `name` is empty.
    const ComponentRecord* FindComponent(std::string_view name) const;
    ComponentRecord* FindComponent(std::string_view name);
};

} // namespace talvex
