// Fuzz target of a whole chromatogram file (compound file): the bytes are opened through libgsf's memory
// input, exactly as a file read from the disk is, and every stream is parsed into a chromatogram record.
#include "core/chromatogram/chm_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    talvex::CChmFile chm;
    if (!chm.LoadMemory({data, size}))
        return 0;
    // An accepted file: every peak was derived from this record's signal, so deriving them again changes
    // no bit of any area.
    talvex::CPeeksTable again = chm.peaks;
    again.RecomputePeaks(chm.signal);
    for (std::size_t i = 0; i < again.size(); ++i)
        if (std::memcmp(&again[i].area, &chm.peaks[i].area, sizeof(double)) != 0)
            __builtin_trap();
    for (const auto& peak : chm.peaks)
        if (peak.index < 0 || static_cast<std::size_t>(peak.index) >= chm.peaks.size())
            __builtin_trap();
    (void)chm.passport.Describe();
    return 0;
}
