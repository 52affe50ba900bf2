// Fuzz target of the "Passport" stream parser: raw stream bytes, refused only with ArchiveError.
#include "core/chromatogram/archive_reader.h"
#include "core/chromatogram/passport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    talvex::CPassport passport;
    try {
        passport.Parse({data, size});
    } catch (const talvex::ArchiveError&) {
        return 0;
    }
    (void)passport.Describe();
    return 0;
}
