#include "app/data_folder_choice.h"

#include "app/data_folder.h"

namespace talvex::gui {

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

} // namespace talvex::gui
