#pragma once

#include "core/common/grid_model.h"
#include "core/components/retention_time_table.h"

namespace talvex {

// The retention-time editor's grid: "№", "Имя компонента", "Время выхода (газ), мин",
// "Время выхода (жидк.), мин", one row per record in table order with the record's rowId as its tag and
// the times to four decimals ("---" when missing).
GridModel BuildRetentionTimeGrid(const RetentionTimeTable& table);

} // namespace talvex
