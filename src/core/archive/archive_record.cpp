#include "core/archive/archive_record.h"

#include "core/common/sha256.h"

#include <openssl/rand.h>

#include <array>
#include <cstdio>
#include <random>

namespace talvex::archive {

std::string RecordFingerprint(const ArchiveRecord& record) {
    // One line per input, each field ended by a NUL byte, so no two different inputs give the same text.
    std::string text = "talvex-record-inputs 1\n";
    auto field = [&text](const std::string& value) {
        text += value;
        text += '\0';
    };
    for (const ArchiveChromatogram& c : record.chromatograms) {
        field("chromatogram");
        field(c.sha256);
    }
    for (const ArchiveDataFile& d : record.dataFiles) {
        field("data");
        field(d.name);
        field(d.sha256);
    }
    field("settings");
    field(record.settingsJson);
    field("degassing");
    field(record.degassingJson);
    return Sha256Hex(text);
}

std::string NewRecordId() {
    std::array<unsigned char, 16> b{};
    if (RAND_bytes(b.data(), static_cast<int>(b.size())) != 1) {
        std::random_device device;
        for (unsigned char& c : b)
            c = static_cast<unsigned char>(device());
    }
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
    char out[37];
    std::snprintf(out, sizeof out, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return out;
}

} // namespace talvex::archive
