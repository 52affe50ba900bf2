#pragma once

#include "core/controlchart/chart_layout.h"

#include <filesystem>
#include <string>

namespace talvex::cli {

// The picture library is loaded only when a PNG or PDF is asked for, so that the CLI starts without
// the window system's libraries.
inline constexpr const char* kChartPaintLibrary = "libtalvex_chartpaint.so";

// Where the library lies: next to the program in the build, in the private library folder once installed.
std::filesystem::path DefaultChartPaintLibrary();

enum class ImageFormat { Png, Pdf };

// Draws the chart into `path` with the library at `library`. False with the reason in `error` when the
// library is missing or unusable, or the file cannot be written.
bool WriteChartImage(const std::filesystem::path& library, const controlchart::ChartLayout& layout,
                     ImageFormat format, const std::filesystem::path& path, std::string& error);

} // namespace talvex::cli
