#pragma once

#include <netcdf.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace talvex::andi {

// Bytes of one value of a netCDF type (1 for text and unknown types).
std::size_t TypeSize(nc_type t);

// Where the values of a classic-format netCDF file (CDF-1, -2 or -5, open as `ncid` from `bytes`) end:
// the largest start of a variable's values, as the header gives it, plus their size. Throws
// std::runtime_error when the header cannot be walked.
std::uint64_t ClassicDataEnd(std::span<const std::uint8_t> bytes, int ncid, int format);

} // namespace talvex::andi
