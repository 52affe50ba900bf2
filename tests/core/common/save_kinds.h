#pragma once
// The saves the program makes of files the operator keeps — Comps.csv and CompsTime.csv through the
// editors' save path, the XML report, the ODT report, the JSON results — each able to write two
// distinguishable versions of its file, for the tests that interrupt or starve them.
#include <pugixml.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace talvex::testing {

// Saves version 0 or 1 of the kind's file into the folder it was made for; false with the program's
// message in `error`.
using Saver = std::function<bool(int version, std::string& error)>;

struct SaveKind {
    std::string name;
    std::string fileName; // the file the save replaces, in the folder
    // Puts what the save needs into an empty folder (the data files, a first version of the target).
    std::function<void(const std::filesystem::path& folder)> prepare;
    // A saver for a prepared folder; what it loads first is loaded here, not per save.
    std::function<Saver(const std::filesystem::path& folder)> makeSaver;
    // What identifies a whole version of the file from its bytes (the ODT report: its content.xml, since
    // the archive stamps entries with the time of writing); empty when the bytes are no whole file.
    std::function<std::string(const std::filesystem::path& file)> identity;
};

// Every kind; the report kinds write the example session's report document.
std::vector<SaveKind> SaveKinds();

} // namespace talvex::testing
