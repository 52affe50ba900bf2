#pragma once

#include <netcdf.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace talvex::andi {

// Bytes of one value of a netCDF type (1 for text and unknown types).
std::size_t TypeSize(nc_type t);

// Walks the header of a classic netCDF file (CDF-1, -2 or -5) in its own byte layout, before netCDF
// parses it: netCDF allocates what the header claims (a name of 3 GB in a file of 1 kB) and reads the
// values of a file cut short as zeros. Returns where the values end, the largest start of a variable's
// values plus their size. Throws std::runtime_error with a reason for the operator when a length, count
// or type does not fit the bytes.
std::uint64_t CheckClassicHeader(std::span<const std::uint8_t> bytes);

} // namespace talvex::andi
