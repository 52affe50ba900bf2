#pragma once

#include "common/grid_model.h"
#include "section7/gas_types.h"

namespace talvex {

// Table kinds of the gas page: result x 2 + composition + 1.
inline constexpr int kGasKindAnalysisComponents = 1;
inline constexpr int kGasKindAnalysisFractions = 2;
inline constexpr int kGasKindSampleComponents = 3;
inline constexpr int kGasKindSampleFractions = 4;
inline constexpr int kGasKindStandard = 5; // 5 and 6 show the same table
inline constexpr int kGasKindStandardToo = 6;

// The gas page's grid for a table kind: the page's own columns "№" and "Имя", then what FillGasTable and
// FillGasControlTable add. Without analyses only the page's columns. Numbers with `decimals` digits.
GridModel BuildGasPage(const Section7Result& result, int kind, int decimals);

// The analyses table of a composition (kinds 1 and 2; other kinds add nothing).
void FillGasTable(GridModel& grid, const Section7Result& result, int kind, int decimals);

// The control tables (kinds 3 to 6; other kinds add nothing).
void FillGasControlTable(GridModel& grid, const Section7Result& result, int kind, int decimals);

} // namespace talvex
