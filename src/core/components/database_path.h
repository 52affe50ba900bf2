#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talvex {

// File names of the component database in the data folder.
inline constexpr std::string_view kComponentsFileName = "Comps.csv";
inline constexpr std::string_view kGasNormsFileName = "TableSection7.csv";
inline constexpr std::string_view kLiquidNormsFileName = "TableSection8.csv";

// Full path of a database file in the data folder (chosen by the caller), or an empty path when the file
// does not exist. Then `error` (when given) receives the text the operator must see at once — the GUI
// shows it in an error box, the CLI prints it:
// "Файл базы данных не найден.\r\nФайл базы данных:\r\n" followed by the path.
std::filesystem::path DatabaseFilePath(const std::filesystem::path& dataFolder, std::string_view fileName,
                                       std::string* error);

} // namespace talvex
