#pragma once

#include "core/chromatogram/chm_file.h"
#include "core/chromatogram/passport.h"
#include "core/chromatogram/read_result.h"

#include <cstdint>
#include <span>
#include <string>

namespace talvex {

// ANDI/AIA chromatography interchange files (a netCDF file, usually `*.cdf`), read into the same
// chromatogram record as a `.stg` file. Times in the file are in the unit of the global attribute
// `retention_unit` (seconds when absent) and become minutes; peaks are recomputed from the signal.

// The whole chromatogram: signal, time axis, passport (with passport.path = path) and peak table. The file
// is read under a shared, non-blocking lock; a file a writer holds locked is refused as held by another
// program. A damaged file's failure names the variable, attribute or dimension that is wrong; the result
// counts the peaks without a start or end time, which are left out.
ReadResult LoadAndiFile(const std::string& path, CChmFile& chm);
// The same from the bytes of a file already in memory; passport.path is left as it is.
ReadResult LoadAndiMemory(std::span<const std::uint8_t> bytes, CChmFile& chm);

// Only the passport, for the browser's listing and description.
ReadResult ReadAndiPassportFile(const std::string& path, CPassport& passport);

// Writes the chromatogram as an ANDI file: the signal as float, times in seconds as double, the passport
// fields the format has a place for, the others as `talvex_…` global attributes, and the peak table with
// the areas as computed. The file is replaced whole or not at all. False with a reason in *error.
bool WriteAndiFile(const std::string& path, const CChmFile& chm, std::string* error);

} // namespace talvex
