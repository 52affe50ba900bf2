#pragma once

#include "core/common/grid_model.h"

#include <string>

namespace talvex::cli {

// A grid as TSV: the caption row, then one line per row, cells joined by TAB, lines ending with LF.
std::string GridToTsv(const GridModel& grid);

// CR LF and lone CR become LF.
std::string ToLf(const std::string& text);

} // namespace talvex::cli
