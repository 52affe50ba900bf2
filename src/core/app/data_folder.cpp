#include "core/app/data_folder.h"

#include "core/common/format.h"

#include <system_error>

namespace talvex {

std::filesystem::path DataFolder(const char* publicFolder) {
    std::filesystem::path folder;
    if (publicFolder)
        folder = std::filesystem::path(publicFolder) / "Documents" / "Korvant";
    return folder / "Talvex";
}

std::filesystem::path ChooseDataFolder(const std::optional<std::filesystem::path>& given,
                                       const char* publicFolder, const std::filesystem::path& programFolder) {
    if (given)
        return *given;
    const std::filesystem::path usual = DataFolder(publicFolder);
    std::error_code ec;
    if (std::filesystem::exists(DataFilePath(usual, "Comps.csv"), ec))
        return usual;
    const std::filesystem::path installed = programFolder / ".." / "share" / "talvex" / "Talvex";
    if (std::filesystem::exists(DataFilePath(installed, "Comps.csv"), ec))
        return installed.lexically_normal();
    return usual;
}

std::filesystem::path RunningProgramFolder() {
    std::error_code failure;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::filesystem::current_path(failure) : self.parent_path();
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
