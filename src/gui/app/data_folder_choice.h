#pragma once

#include <filesystem>
#include <optional>

namespace talvex::gui {

// The data folder the program works with: the one given on the command line; otherwise the folder of
// the usual rule (PUBLIC, else Talvex below the working directory) when it holds Comps.csv; otherwise
// the folder an installation puts next to the program (<prefix>/share/talvex/Talvex) when that one holds
// it; otherwise the usual folder, so that the component database reports the missing files.
std::filesystem::path ChooseDataFolder(const std::optional<std::filesystem::path>& given,
                                       const char* publicFolder, const std::filesystem::path& programFolder);

} // namespace talvex::gui
