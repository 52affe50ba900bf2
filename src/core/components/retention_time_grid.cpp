#include "core/components/retention_time_grid.h"

#include "core/common/format.h"

namespace talvex {

GridModel BuildRetentionTimeGrid(const RetentionTimeTable& table) {
    GridModel grid;
    grid.columns = {{"№", 40},
                    {"Имя компонента", 160},
                    {"Время выхода (газ), мин", 150},
                    {"Время выхода (жидк.), мин", 160}};
    grid.rows.reserve(table.Records().size());
    int k = 0;
    for (const CompTime& r : table.Records()) {
        GridRow row;
        row.tag = r.rowId;
        row.cells = {StrPrintf("%d", ++k), r.componentName, RetentionTimeTable::TimeText(r.gasTime),
                     RetentionTimeTable::TimeText(r.liquidTime)};
        grid.rows.push_back(std::move(row));
    }
    return grid;
}

} // namespace talvex
