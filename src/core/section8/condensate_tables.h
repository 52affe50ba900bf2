#pragma once

#include "common/grid_model.h"

namespace talvex {

struct CondensateResult;

// The two condensate pages as grid models. A table kind is result x 2 + composition + 1: 1 and 2 the
// analyses by method A and B, 3 and 4 the control with a sample by method A and B, 5 and 6 the control with
// a standard. Numbers have `decimals` places (QtyNumAfterDot); a missing one shows as "---".

// What both pages hold after a reset: the columns "№" and "Имя".
GridModel CondensateBaseGrid();

// Each builder adds its columns (only when the grid has no more than the first two) and appends its rows;
// kinds it does not serve leave the grid unchanged.
void FillCondensateTable(GridModel& grid, const CondensateResult& result, int kind, int decimals);
void FillCondensateControlTable(GridModel& grid, const CondensateResult& result, int kind, int decimals);
void FillMarkingTable(GridModel& grid, const CondensateResult& result, int kind, int decimals);
void FillMarkingControlTable(GridModel& grid, const CondensateResult& result, int kind, int decimals);
// The marking page for the kind its radio buttons give; nothing without an analysis.
void RefreshMarkingPage(GridModel& grid, const CondensateResult& result, int kind, int decimals);

// The page "Дегазированный конденсат" and the page "Результаты разметки (ДК)" for a table kind, built
// from the base grid.
GridModel CondensatePageGrid(const CondensateResult& result, int kind, int decimals);
GridModel MarkingPageGrid(const CondensateResult& result, int kind, int decimals);

} // namespace talvex
