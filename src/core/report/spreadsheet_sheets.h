#pragma once

#include "core/nlh/degassing.h"
#include "core/report/spreadsheet_automation.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace talvex {

struct Section7Result;
struct CondensateResult;
struct NlhResult;

// Where the listed results go in the spreadsheet template, and what is written there.

// One listed sheet of the template. Rows and sheets count from 1.
struct SheetLayout {
    std::int32_t sheet;      // position in the workbook
    std::int32_t firstRow;   // the first data row; the row above it heads the vertical merges
    std::int32_t rowAfter;   // the row after the template's data rows
    std::int32_t lastRow;    // the last row of the block below the data rows
    char lastColumn;         // of the data rows
    char firstValueColumn;   // the values fill the columns from here to the last one written
    std::string_view merges; // column pairs merged from the heading row to the last data row ("BBCCFF")
    bool keepsRowHeights;    // the block below keeps its row heights when rows are added or removed
    bool hasHeaderAndSums;   // the degassing header block B2:G5 above and a sums row below the list
};

// The condensate of marking method A, the gas of the component-fractional composition, the unstable
// liquid and its calculation sheet, in the order they are filled; the third sheet is left as it is.
inline constexpr std::array<SheetLayout, 4> kSheetLayouts = {{
    {1, 27, 88, 95, 'F', 'D', "BBCCFF", true, false},
    {2, 27, 52, 56, 'F', 'D', "BBCCFF", true, false},
    {4, 28, 89, 107, 'H', 'F', "BDEEHH", true, false},
    {5, 7, 75, 76, 'G', 'B', "", false, true},
}};

// What one sheet receives: the names (one column), the values (a row per name), and on the calculation
// sheet the header block (4 rows x 6 columns) and the sums row (6 columns). Numbers are unrounded; a
// missing one is the text "---".
struct SheetContent {
    AutomationTable names;
    AutomationTable values;
    AutomationTable header;
    AutomationTable sums;
};

inline constexpr std::string_view kMissingCell = "---";

// Sheet 1: the name, the average when above 0, the accuracy when 0 or above.
SheetContent CondensateSheet(const CondensateResult& condensate);
// Sheet 2: the name, the average when above 0, the absolute accuracy when 0 or above.
SheetContent GasSheet(const Section7Result& gas);
// Sheet 4: the name, the mass fraction in the unstable liquid when above 0, and an emptied cell.
SheetContent NlhSheet(const NlhResult& nlh);
// Sheet 5: per component the mass fraction and molar mass in the gas, in the condensate and in the
// unstable liquid; the sums; the header block from the gas factor (m³/t for both methods A, kg/t for
// method B) and the gas density (kg/m³): both gas-factor units, the density, and the mass fractions of
// gas, condensate and their total.
SheetContent NlhCalculationSheet(const NlhResult& nlh, const DegassingParameters& degassing,
                                 double gasDensity);

} // namespace talvex
