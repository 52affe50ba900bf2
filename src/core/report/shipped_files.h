#pragma once

#include <filesystem>
#include <string_view>

namespace talvex {

// Files that ship with the programs: the report templates and the spreadsheet bridge. In the build folder
// and in a copy of the programs they lie beside the executable; an installed package puts them under
// share/talvex/ of the prefix (the program in <prefix>/bin, the files in <prefix>/share/talvex).
inline constexpr const char* kShippedFilesFolder = "share/talvex";

// The file beside the program when it is there, else the one under ../share/talvex/ when that one is
// there; when neither is, the path beside the program, so that a message names where it was looked for
// first.
std::filesystem::path ShippedFilePath(const std::filesystem::path& programFolder, std::string_view name);

} // namespace talvex
