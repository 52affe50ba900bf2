#pragma once

#include <filesystem>
#include <string>

namespace talvex {

// The program's data folder: "<PUBLIC>/Documents/Korvant/Talvex" when the environment variable PUBLIC is
// set (its value is passed in, nullptr when unset), otherwise the relative folder "Talvex", which
// resolves against the current directory. The data files Comps.csv, TableSection7.csv,
// TableSection8.csv and CompsTime.csv live there.
std::filesystem::path DataFolder(const char* publicFolder);

// The full path of one data file in that folder.
std::filesystem::path DataFilePath(const std::filesystem::path& dataFolder, const std::string& fileName);

// "<major>.<minor>.<patch>" of this build, as session files and results record it.
std::string ProgramVersion();

// "ver<major>.<minor>" of this build, as the main window's caption shows it.
std::string VersionText();

} // namespace talvex
