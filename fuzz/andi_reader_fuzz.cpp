// Fuzz target of the ANDI/AIA chromatography reader: the bytes are opened through netCDF's in-memory
// open, exactly as a file read from the disk is, and mapped to a chromatogram record.
#include "core/chromatogram/andi_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    talvex::CChmFile chm;
    const talvex::ReadResult result = talvex::LoadAndiMemory({data, size}, chm);
    // A refusal always says why; an accepted file has a whole peak table over its signal.
    if (!result.ok && result.reason.empty())
        __builtin_trap();
    if (result.ok && result.peaksLeftOut < 0)
        __builtin_trap();
    return 0;
}
