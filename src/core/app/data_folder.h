#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace talvex {

// The program's data folder: "<PUBLIC>/Documents/Korvant/Talvex" when the environment variable PUBLIC is
// set (its value is passed in, nullptr when unset), otherwise the relative folder "Talvex", which
// resolves against the current directory. The data files Comps.csv, TableSection7.csv,
// TableSection8.csv and CompsTime.csv live there.
std::filesystem::path DataFolder(const char* publicFolder);

// The data folder a front end works with: the one given on its command line; otherwise the folder of
// the usual rule (PUBLIC, else Talvex below the working directory) when it holds Comps.csv; otherwise
// the folder an installation puts next to the program (<prefix>/share/talvex/Talvex) when that one holds
// it; otherwise the usual folder, so that the component database reports the missing files.
std::filesystem::path ChooseDataFolder(const std::optional<std::filesystem::path>& given,
                                       const char* publicFolder, const std::filesystem::path& programFolder);

// The folder of the running executable (the folder of /proc/self/exe; the working directory when that
// cannot be read).
std::filesystem::path RunningProgramFolder();

// The full path of one data file in that folder.
std::filesystem::path DataFilePath(const std::filesystem::path& dataFolder, const std::string& fileName);

// "<major>.<minor>.<patch>" of this build, as session files and results record it.
std::string ProgramVersion();

// "ver<major>.<minor>" of this build, as the main window's caption shows it.
std::string VersionText();

} // namespace talvex
