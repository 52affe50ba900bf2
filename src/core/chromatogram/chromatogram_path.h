#pragma once

#include <string_view>

namespace talvex {

// Chromatogram files are told apart by their extension, matched without regard to letter case: `.stg`
// files of the laboratory's data system and ANDI/AIA chromatography files `.cdf` of any other one.
bool IsStgPath(std::string_view path);
bool IsAndiPath(std::string_view path);
bool IsChromatogramPath(std::string_view path);

} // namespace talvex
