// Fuzz target of the archive encoding: length-prefixed strings (one-byte and UTF-16) and date-times read
// in the order the first byte chooses, until the bytes run out. Refused only with ArchiveError.
#include "core/chromatogram/archive_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t order = data[0];
    talvex::ArchiveReader reader({data + 1, size - 1});
    try {
        for (unsigned i = 0; reader.Remaining() > 0; ++i) {
            const std::size_t before = reader.Position();
            if ((order >> (i % 8)) & 1)
                (void)reader.ReadDateTime();
            else
                (void)reader.ReadString();
            if (reader.Position() <= before) // every value takes at least its prefix
                __builtin_trap();
        }
    } catch (const talvex::ArchiveError&) {
    }
    if (reader.Position() > size - 1)
        __builtin_trap();
    return 0;
}
