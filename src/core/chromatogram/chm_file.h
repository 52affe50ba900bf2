#pragma once

#include "core/chromatogram/lattice.h"
#include "core/chromatogram/passport.h"
#include "core/chromatogram/peaks_table.h"
#include "core/chromatogram/read_result.h"

#include <cstdint>
#include <exception>
#include <span>
#include <string>

namespace talvex {

// One chromatogram: signal with its time axis, passport and peak table. Copies are deep; moves keep the
// records cheap to reorder in the chromatogram list.
class CChmFile {
public:
    CChmFile() = default;
    CChmFile(const CChmFile&) = default;
    CChmFile& operator=(const CChmFile&) = default;
    CChmFile(CChmFile&&) noexcept = default;
    CChmFile& operator=(CChmFile&&) noexcept = default;
    virtual ~CChmFile() = default;

    CLattice signal;
    CPassport passport;
    CPeeksTable peaks;

    // Loads the whole chromatogram into this (freshly constructed) record; a `.cdf` file (any letter case)
    // is read as an ANDI chromatography file (andi_file.h). Fails with its reason when the file is
    // missing, not a chromatogram file, held by a writer, or a stream is missing or malformed (the
    // reason names the stream); values read before the failure may remain.
    ReadResult Load(const std::string& filePath);

    // Loads a chromatogram file (compound file) held in memory, as Load does one from the disk; the
    // passport's path stays empty.
    ReadResult LoadMemory(std::span<const std::uint8_t> bytes);
};

// The time axis of a "Time" stream: its first two float32 values are the times (minutes) of the first two
// samples. A stream shorter than 12 bytes gives start 0 and step 1.
void ReadTimeAxis(std::span<const std::uint8_t> time, CLattice& signal);

// The failure of a read that stopped in the named stream of a `.stg` file.
ReadResult StreamFailure(const char* stream, const std::exception& error);

} // namespace talvex
