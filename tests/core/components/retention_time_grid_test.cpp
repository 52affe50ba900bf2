#include "core/components/retention_time_grid.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

TEST(RetentionTimeGrid, RowsCarryTheirRowIdAndFourDecimalTimes) {
    RetentionTimeTable table;
    table.AddRecord();
    table.AddRecord();
    table.AddRecord();
    ASSERT_TRUE(table.SetCell(1, RetentionTimeTable::kGasTimeColumn, "12,5"));
    ASSERT_TRUE(table.SetCell(2, RetentionTimeTable::kNameColumn, "н-Декан"));
    ASSERT_TRUE(table.SetCell(2, RetentionTimeTable::kLiquidTimeColumn, "3.25"));
    ASSERT_TRUE(table.DeleteRecord(0));

    const GridModel grid = BuildRetentionTimeGrid(table);
    ASSERT_EQ(grid.columns.size(), 4u);
    const std::pair<const char*, int> columns[] = {{"№", 40},
                                                   {"Имя компонента", 160},
                                                   {"Время выхода (газ), мин", 150},
                                                   {"Время выхода (жидк.), мин", 160}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(grid.columns[i].caption, columns[i].first);
        EXPECT_EQ(grid.columns[i].width, columns[i].second);
    }
    ASSERT_EQ(grid.rows.size(), 2u);
    EXPECT_EQ(grid.rows[0].cells,
              (std::vector<std::string>{"1", "Задайте имя компонента!", "12.5000", "---"}));
    EXPECT_EQ(grid.rows[1].cells, (std::vector<std::string>{"2", "н-Декан", "---", "3.2500"}));
    EXPECT_EQ(grid.rows[0].tag, 1); // renumbered rows keep the ids the editor deletes by
    EXPECT_EQ(grid.rows[1].tag, 2);
}

} // namespace
} // namespace talvex
