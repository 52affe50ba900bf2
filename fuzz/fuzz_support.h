#pragma once
// Helpers the fuzz targets share: a private scratch folder, whole files written into it, the example
// session's report document.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace talvex::fuzz {

// A folder of this process, made on first use (in /dev/shm when there is one, so that files written per
// input cost no disk) and removed at exit.
const std::filesystem::path& ScratchFolder();

// Writes `bytes` as the whole file `path`; aborts when that fails, since the target could test nothing.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// Writes the first lines of the shipped data folder's four files into `folder`, replacing what is there.
void CopyShippedData(const std::filesystem::path& folder);

// The report document of the bundled example session, built once on first use.
const pugi::xml_document& ExampleReport();

// The source tree, for the shipped data folder, the template and the examples.
std::filesystem::path SourceDir();

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace talvex::fuzz
