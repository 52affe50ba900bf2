#pragma once

#include "core/common/grid_model.h"
#include "core/common/table_kind.h"
#include "core/section7/gas_types.h"

namespace talvex {

// The first composition of a table kind is the component composition, the second the
// component-fractional one.

// The gas page's grid for a table kind: the page's own columns "№" and "Имя", then what FillGasTable and
// FillGasControlTable add. Without analyses only the page's columns. Numbers with `decimals` digits.
GridModel GasPageGrid(const Section7Result& result, TableKind kind, int decimals);

// The analyses table of a composition (the analysis kinds; other kinds add nothing).
void FillGasTable(GridModel& grid, const Section7Result& result, TableKind kind, int decimals);

// The control tables (the control kinds; other kinds add nothing).
void FillGasControlTable(GridModel& grid, const Section7Result& result, TableKind kind, int decimals);

} // namespace talvex
