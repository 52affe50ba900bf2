// The spreadsheet template: its editable source has the layout the export relies on, and the shipped
// .xls is built from the current source.
#include "core/report/office_conversion.h"
#include "core/report/spreadsheet_sheets.h"
#include "flat_spreadsheet.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::FlatSheet;

const fs::path kTemplates = fs::path(TALVEX_SOURCE_DIR) / "templates";

std::string Cell(char column, int row) {
    return std::string(1, column) + std::to_string(row);
}

// The (first, last) column and row of a merged area "B26:B96".
struct Area {
    char c1, c2;
    int r1, r2;
};
Area ParseArea(const std::string& a) {
    const auto colon = a.find(':');
    return {a[0], a[colon + 1], std::stoi(a.substr(1, colon - 1)), std::stoi(a.substr(colon + 2))};
}

TEST(SpreadsheetTemplate, SourceHasTheLayoutTheExportFills) {
    const std::vector<FlatSheet> sheets = testing::ReadFlatSpreadsheet(kTemplates / "Template_tlvx.fods");
    ASSERT_GE(sheets.size(), 5u);
    for (const SheetLayout& layout : kSheetLayouts) {
        SCOPED_TRACE(layout.sheet);
        const FlatSheet& sheet = sheets[static_cast<std::size_t>(layout.sheet - 1)];
        // The data rows are empty: whatever stands there would be cleared anyway.
        for (const auto& [position, text] : sheet.cells)
            if (position.first >= layout.firstRow && position.first < layout.rowAfter) {
                EXPECT_GT(position.second, layout.lastColumn - 'A' + 1)
                    << "row " << position.first << ": " << text;
            }
        // Every data row is as high as the others.
        for (int r = layout.firstRow + 1; r < layout.rowAfter; ++r)
            EXPECT_EQ(sheet.rowHeights.at(r), sheet.rowHeights.at(layout.firstRow)) << r;
        // The block below the list moves with it: cells from column A to the last one shift up or down,
        // which a merged area reaching past the last column would forbid.
        for (const std::string& merge : sheet.merges) {
            const Area area = ParseArea(merge);
            if (area.r2 >= layout.firstRow - 1) {
                EXPECT_TRUE(area.c2 <= layout.lastColumn || area.c1 > layout.lastColumn) << merge;
            }
        }
        bool blockText = false;
        for (int r = layout.rowAfter; r <= layout.lastRow; ++r)
            blockText = blockText || !sheet.At(Cell('A', r)).empty();
        EXPECT_TRUE(blockText) << "nothing below the list";
    }
    // The kept row heights must differ from a data row's to show that they are kept.
    for (const SheetLayout& layout : kSheetLayouts) {
        if (!layout.keepsRowHeights)
            continue;
        const FlatSheet& sheet = sheets[static_cast<std::size_t>(layout.sheet - 1)];
        std::set<double> heights;
        for (int r = layout.rowAfter; r <= layout.lastRow; ++r)
            heights.insert(sheet.rowHeights.at(r));
        EXPECT_GE(heights.size(), 3u) << layout.sheet;
    }
    const FlatSheet& calculation = sheets[4];
    EXPECT_EQ(calculation.At("B2"), "м³/т");
    EXPECT_EQ(calculation.At("B3"), "кг/т");
    EXPECT_EQ(calculation.At("A75"), "Сумма, % масс.");
    EXPECT_THAT(calculation.merges, ::testing::IsSupersetOf({"B5:C5", "D5:E5", "F5:G5"}));
}

TEST(SpreadsheetTemplate, ShippedWorkbookIsBuiltFromTheCurrentSource) {
    if (!FindOfficeSuite())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    testing::TempFolder dir;
    std::string error;
    ASSERT_TRUE(ConvertWithOffice(kTemplates / "Template_tlvx.xls", "fods", dir / "shipped.fods",
                                  kOfficeTimeLimit, error))
        << error;
    const std::vector<FlatSheet> shipped = testing::ReadFlatSpreadsheet(dir / "shipped.fods");
    const std::vector<FlatSheet> source = testing::ReadFlatSpreadsheet(kTemplates / "Template_tlvx.fods");
    ASSERT_EQ(shipped.size(), source.size()) << "rebuild it with templates/make_xls_template.sh";
    for (std::size_t i = 0; i < source.size(); ++i) {
        SCOPED_TRACE(source[i].name);
        EXPECT_EQ(shipped[i].name, source[i].name);
        EXPECT_EQ(shipped[i].cells, source[i].cells) << "rebuild it with templates/make_xls_template.sh";
        EXPECT_THAT(shipped[i].merges, ::testing::UnorderedElementsAreArray(source[i].merges));
        for (const auto& [row, height] : source[i].rowHeights)
            if (shipped[i].rowHeights.count(row)) {
                EXPECT_NEAR(shipped[i].rowHeights.at(row), height, 0.6) << "row " << row;
            }
    }
}

} // namespace
} // namespace talvex
