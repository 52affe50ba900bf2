#pragma once

#include "core/chromatogram/peaks_table.h"
#include "core/common/grid_model.h"

namespace talvex {

// The peak page of the main window: "№", "Компонент", "Площадь пика", "Время выхода, мин", one row per
// peak in table order with the area and the retention time to three decimals.
GridModel BuildPeakGrid(const CPeeksTable& peaks);

} // namespace talvex
