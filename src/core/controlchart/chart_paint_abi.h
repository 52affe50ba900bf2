#pragma once
// The entry points of the chart painting library (libtalvex_chartpaint.so), loaded by the CLI at run
// time. The layout crosses as a C++ object: the library is built with the program, and the version says
// whether the two were built from the same layout.

#include "core/controlchart/chart_layout.h"

#include <cstddef>

namespace talvex::controlchart {

inline constexpr int kChartPaintAbiVersion = 1;
inline constexpr const char* kChartPaintVersionSymbol = "talvex_chart_paint_version";
inline constexpr const char* kChartPaintFileSymbol = "talvex_chart_paint_file";

// Draws `layout` into the file at `path`, `format` "png" or "pdf". 0 done; otherwise the reason, UTF-8,
// in `error` (cut to `errorSize` bytes, NUL included).
using ChartPaintFileFn = int (*)(const ChartLayout* layout, const char* format, const char* path, char* error,
                                 std::size_t errorSize);

} // namespace talvex::controlchart
