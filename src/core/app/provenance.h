#pragma once

#include "app/session.h"
#include "app/session_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// What a result was computed from: the program, the time of the calculation and the SHA-256 of every
// chromatogram file and data file, so that a result can be shown months later to come from these bytes.
struct Provenance {
    std::string programVersion;
    std::int64_t calculatedAt = 0; // seconds since 1970 UTC
    struct File {
        std::string path;
        std::string sha256; // empty when the file can no longer be read
    };
    std::vector<File> chromatograms; // in list order
    std::vector<SessionDataFile> dataFiles;
};

Provenance TakeProvenance(const Session& session, std::int64_t calculatedAt);

} // namespace talvex
