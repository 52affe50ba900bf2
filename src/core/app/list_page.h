#pragma once

#include "core/chromatogram/chromatogram_list.h"
#include "core/common/grid_model.h"

namespace talvex {

// The chromatogram list of the main window: "№", "Файл", "Проба", "Время анализа", "Тип хрм.", "Анализ",
// one row per entry in list order; each row's tag is the entry's fileId. Times are local time.
GridModel BuildListGrid(const ChromatogramList& list);

} // namespace talvex
