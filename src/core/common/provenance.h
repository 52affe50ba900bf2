#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// What a result was computed from: the program, the time of the calculation and the SHA-256 of every
// chromatogram file and data file, so that a result can be shown months later to come from these bytes.
struct Provenance {
    struct File {
        std::string path;   // a chromatogram file as added, or a data file's name
        std::string sha256; // 64 lower-case hex digits; empty when the file can no longer be read
    };
    std::string programVersion;
    std::int64_t calculatedAt = 0;   // seconds since 1970 UTC
    std::vector<File> chromatograms; // in list order
    std::vector<File> dataFiles;     // Comps.csv, CompsTime.csv, TableSection7.csv, TableSection8.csv
};

} // namespace talvex
