#include "condensate_result_fixture.h"

#include "core/section8/condensate_tables.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

using Cells = std::vector<std::string>;

class CondensateTablesTest : public testing::CondensateResultFixture {};

std::vector<std::string> Captions(const GridModel& grid) {
    std::vector<std::string> captions;
    for (const GridColumn& c : grid.columns)
        captions.push_back(c.caption);
    return captions;
}

TEST_F(CondensateTablesTest, AnalysesOfMethodAWithAverageSpreadAndPhysicalBlock) {
    const GridModel grid = CondensatePageGrid(result_, TableKind::AnalysisFirst, 3);
    EXPECT_EQ(Captions(grid),
              (Cells{"№", "Имя", "Ан-1. Масс. доля, %", "Ан-2. Масс. доля, %", "Ан-3. Масс. доля, %",
                     "Средн. масс. доля, %", "Расхлждение, %", "Предел повт. r, %", "Соот-т"}));
    ASSERT_EQ(grid.rows.size(), 2u + 1u + 5u);
    EXPECT_EQ(grid.rows[0].cells,
              (Cells{"1", "н-Гексан", "1.000", "1.100", "1.050", "1.050   ±0.042", "9.524", "10.000", "Да"}));
    // Present in the analysis with number 1 only: a quarter of a per-cent spread over one entry.
    EXPECT_EQ(grid.rows[1].cells,
              (Cells{"2", "Пропан", "---", "0.250", "---", "0.250", "---", "---", "---"}));
    EXPECT_EQ(grid.rows[2].cells, (Cells{"", "Сумма", "100.000", "100.000", "100.000", "1.300", "", "", ""}));
    EXPECT_EQ(grid.rows[4].cells, (Cells{"", "=== Физ-хим показатели ===", "Aнализ - 1", "Aнализ - 2",
                                         "Aнализ - 3", "Среднее знач.", "", "", ""}));
    EXPECT_EQ(grid.rows[5].cells[1], "Молярная масса, (г/моль)");
    EXPECT_EQ(grid.rows[5].cells[2], "80.000");
    EXPECT_EQ(grid.rows[7].cells, Cells(9, ""));
    EXPECT_EQ(grid.rows[0].textColor, kDefaultColor);
}

TEST_F(CondensateTablesTest, OneAnalysisShowsNoAverageColumns) {
    result_.analyses.resize(1);
    result_.rowsA.clear();
    result_.rowsB.clear();
    BuildCondensateRows(result_);
    const GridModel grid = CondensatePageGrid(result_, TableKind::AnalysisFirst, 2);
    ASSERT_EQ(grid.columns.size(), 3u);
    EXPECT_EQ(grid.rows[0].cells, (Cells{"1", "н-Гексан", "1.00"}));
    EXPECT_EQ(grid.rows[3].cells, (Cells{"", "=== Физ-хим показатели ===", "Aнализ - 1"}));
}

TEST_F(CondensateTablesTest, TheStandardControlListsMembersUnderTheirFraction) {
    const GridModel grid = CondensatePageGrid(result_, TableKind::StandardControlFirst, 3);
    EXPECT_EQ(Captions(grid), (Cells{"№", "Имя", "ОКЭ, масс%", "Паспорт, масс%", "Контрольное знач (Кк), %",
                                     "Норматив (К), %", "Соот-т"}));
    ASSERT_EQ(grid.rows.size(), 2u);
    EXPECT_EQ(grid.rows[0].cells, (Cells{"1", "F90-100", "4.100", "4.000", "0.100", "0.200", "Да"}));
    EXPECT_EQ(grid.rows[1].cells, (Cells{"", "               н-Гептан", "4.100", "4.000", "", "", ""}));
    const GridModel six = CondensatePageGrid(result_, TableKind::StandardControlSecond, 3);
    ASSERT_EQ(six.rows.size(), grid.rows.size());
    for (std::size_t i = 0; i < six.rows.size(); ++i)
        EXPECT_EQ(six.rows[i].cells, grid.rows[i].cells);
}

TEST_F(CondensateTablesTest, TheSampleControlShowsBothValuesAndAMissingLimitAsDashes) {
    ControlItem& item = result_.okpItemsA.emplace_back();
    item.name = "н-Гексан";
    item.firstEntry = &result_.analyses[0].entriesA[0];
    item.firstValue = 1.0;
    item.secondValue = 1.2;
    item.discrepancy = 0.2;
    item.normRange = NoMatchingNorm(); // failed, and no limit to show
    const GridModel grid = CondensatePageGrid(result_, TableKind::SampleControlFirst, 3);
    EXPECT_EQ(grid.columns[2].caption, "Ан-1, масс%");
    EXPECT_EQ(grid.columns[3].caption, "ОКП, масс%");
    EXPECT_EQ(grid.rows.at(0).cells, (Cells{"1", "н-Гексан", "1.000", "1.200", "0.200", "---", "---"}));
    const GridModel marking = MarkingPageGrid(result_, TableKind::SampleControlFirst, 3);
    EXPECT_EQ(Captions(marking),
              (Cells{"№", "Имя", "Ан-1, начало (мин)", "Ан-1, конец (мин)", "Ан-1, площадь",
                     "ОКП, начало (мин)", "ОКП, конец (мин)", "ОКП, площадь"}));
    EXPECT_EQ(marking.rows.at(0).cells,
              (Cells{"1", "н-Гексан", "1.000", "2.000", "10.000", "---", "---", "---"}));
}

TEST_F(CondensateTablesTest, MarkingShowsWindowsOnlyForEntriesWithoutOwnPeak) {
    result_.analyses[1].entriesA[0].retentionTime = 1.5; // an individual component
    const GridModel grid = MarkingPageGrid(result_, TableKind::AnalysisFirst, 1);
    ASSERT_EQ(grid.columns.size(), 2u + 9u);
    EXPECT_EQ(grid.rows[0].cells,
              (Cells{"1", "н-Гексан", "1.0", "2.0", "10.0", "---", "---", "11.0", "1.0", "2.0", "10.5"}));
    EXPECT_EQ(grid.rows[1].cells,
              (Cells{"2", "Пропан", "---", "---", "---", "1.0", "2.0", "2.5", "---", "---", "---"}));
}

TEST_F(CondensateTablesTest, KindsABuilderDoesNotServeLeaveTheBaseGrid) {
    const GridModel base = CondensateBaseGrid();
    EXPECT_EQ(Captions(base), (Cells{"№", "Имя"}));
    EXPECT_EQ(MarkingPageGrid(result_, TableKind::StandardControlFirst, 3).columns.size(), 2u);
    EXPECT_EQ(CondensatePageGrid(result_, static_cast<TableKind>(0), 3).columns.size(), 2u);
    CondensateResult empty;
    EXPECT_EQ(CondensatePageGrid(empty, TableKind::AnalysisFirst, 3).columns.size(), 2u);
    EXPECT_EQ(CondensatePageGrid(empty, TableKind::SampleControlFirst, 3).columns.size(), 2u);
    EXPECT_EQ(CondensatePageGrid(empty, TableKind::StandardControlFirst, 3).columns.size(),
              7u); // the standard needs no analysis
}

} // namespace
} // namespace talvex
