#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace talvex {

// SHA-256 digests of files, read again only when a file's size or modification time has changed: the
// desktop program keeps its recovery session after every change without hashing every chromatogram
// each time.
class FileDigestCache {
public:
    // As Sha256OfFile.
    std::optional<std::string> Digest(const std::string& path, std::string* error = nullptr);

private:
    struct Entry {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        std::string digest;
    };
    std::map<std::string, Entry> entries_;
};

} // namespace talvex
