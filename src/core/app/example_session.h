#pragma once

#include "core/nlh/degassing.h"

#include <filesystem>
#include <string>
#include <vector>

namespace talvex {

// The bundled example session, as the demo, the screenshots, the benchmarks and the end-to-end tests run
// it: the chromatogram files of a folder and the degassing inputs the operator types.

// The paths of the folder's chromatogram files ("*.stg", "*.cdf") in byte order of their names; empty when
// there are none or the folder cannot be read.
std::vector<std::string> ChromatogramFilesIn(const std::filesystem::path& folder);

// Types the example's degassing values on the page: method A, pressure 99,8, temperature 293,6, gas volumes
// 0.0118 and 0.0004, condensate masses 84.6 and 1.7 (as the degassing page takes typed text). False when
// the page refused one of them.
bool TypeExampleDegassing(DegassingPage& page, int decimals);

} // namespace talvex
