#include "app/data_folder.h"

#include "common/format.h"

namespace talvex {

std::filesystem::path DataFolder(const char* publicFolder) {
    std::filesystem::path folder;
    if (publicFolder)
        folder = std::filesystem::path(publicFolder) / "Documents" / "Korvant";
    return folder / "Talvex";
}

std::filesystem::path DataFilePath(const std::filesystem::path& dataFolder, const std::string& fileName) {
    return dataFolder / fileName;
}

std::string ProgramVersion() {
    return TALVEX_VERSION;
}

std::string VersionText() {
    return StrPrintf("ver%d.%d", TALVEX_VERSION_MAJOR, TALVEX_VERSION_MINOR);
}

} // namespace talvex
