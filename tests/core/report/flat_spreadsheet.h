#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace talvex::testing {

// A spreadsheet as a flat OpenDocument file (.fods) describes it, for checking what was written: the text
// or number of every non-empty cell, the height of every row and the merged areas.
struct FlatSheet {
    std::string name;
    std::map<std::pair<int, int>, std::string> cells; // (row, column), both from 1: text, or a number's value
    std::map<int, double> rowHeights;                 // row -> height in points
    std::vector<std::string> merges;                  // "B26:B96", ...

    std::string At(const std::string& cell) const; // "A27" -> its text, "" when empty
    double Number(const std::string& cell) const;  // its value; NaN when it holds no number
};

// The sheets in workbook order; empty when the file cannot be read.
std::vector<FlatSheet> ReadFlatSpreadsheet(const std::filesystem::path& fods);

} // namespace talvex::testing
