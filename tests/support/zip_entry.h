#pragma once
// Reading one entry of a ZIP archive (an ODT report) in a test; the test links libzip.

#include <zip.h>

#include <filesystem>
#include <optional>
#include <string>

namespace talvex::testing {

// One entry of an archive; nullopt when the archive or the entry cannot be read.
inline std::optional<std::string> ReadZipEntry(const std::filesystem::path& file, const char* name) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return std::nullopt;
    std::optional<std::string> bytes;
    zip_stat_t st;
    zip_file_t* entry = nullptr;
    if (zip_stat(archive, name, 0, &st) == 0 && (entry = zip_fopen(archive, name, 0))) {
        std::string data(st.size, '\0');
        if (zip_fread(entry, data.data(), data.size()) == static_cast<zip_int64_t>(data.size()))
            bytes = std::move(data);
        zip_fclose(entry);
    }
    zip_discard(archive);
    return bytes;
}

} // namespace talvex::testing
