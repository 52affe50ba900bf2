#pragma once

#include "core/common/grid_model.h"
#include "core/common/table_kind.h"

namespace talvex {

struct CondensateResult;

// The two condensate pages as grid models; the first composition of a table kind is method A, the second
// method B. Numbers have `decimals` places (QtyNumAfterDot); a missing one shows as "---".

// What both pages hold after a reset: the columns "№" and "Имя".
GridModel CondensateBaseGrid();

// Each builder adds its columns (only when the grid has no more than the first two) and appends its rows;
// kinds it does not serve leave the grid unchanged.
void FillCondensateTable(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals);
void FillCondensateControlTable(GridModel& grid, const CondensateResult& result, TableKind kind,
                                int decimals);
void FillMarkingTable(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals);
void FillMarkingControlTable(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals);
// The marking page for the kind its radio buttons give; nothing without an analysis.
void RefreshMarkingPage(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals);

// The page "Дегазированный конденсат" and the page "Результаты разметки (ДК)" for a table kind, built
// from the base grid.
GridModel CondensatePageGrid(const CondensateResult& result, TableKind kind, int decimals);
GridModel MarkingPageGrid(const CondensateResult& result, TableKind kind, int decimals);

} // namespace talvex
