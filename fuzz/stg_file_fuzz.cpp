// Fuzz target of a whole chromatogram file (compound file): the bytes are opened through libgsf's memory
// input, exactly as a file read from the disk is, and every stream is parsed into a chromatogram record.
#include "chromatogram/chm_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    talvex::CChmFile chm;
    if (!chm.LoadMemory({data, size}))
        return 0;
    // An accepted file: the table refers to this record's signal and every peak was derived from it.
    if (chm.peaks.Signal() != &chm.signal)
        __builtin_trap();
    for (const auto& peak : chm.peaks)
        if (peak.index < 0 || static_cast<std::size_t>(peak.index) >= chm.peaks.size())
            __builtin_trap();
    (void)chm.passport.Describe();
    return 0;
}
