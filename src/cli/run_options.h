#pragma once

#include "core/nlh/degassing.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talvex::cli {

// What `talvex-cli run` was asked to do.
struct RunOptions {
    std::optional<std::string> dataDir;
    std::optional<int> decimals;        // QtyNumAfterDot for this run
    std::optional<int> mode;            // ModeCalc for this run
    std::optional<bool> airCorrection;  // Sect7_CorrectO2 for this run
    std::vector<std::string> airShares; // N2, O2, CO2 texts when --air gave them
    std::optional<std::int32_t> degassingMethod;
    // Degassing inputs as typed, in the order given, with the option that named them.
    std::vector<std::pair<DegassingField, std::string>> degassingInputs;
    std::vector<std::string> degassingOptionNames;
    std::optional<std::string> deviceName;
    // Report switches for this run, by profile key ("GD_AnComp" ...), 0 or 1.
    std::vector<std::pair<std::string, int>> switches;
    std::optional<std::string> xmlFile;
    std::optional<std::string> odtFile;
    std::optional<std::string> pdfFile;         // the ODT report converted by the office suite
    std::optional<std::string> xlsFile;         // the spreadsheet template filled by the office suite
    std::optional<std::string> templateFile;    // instead of the template next to the program
    std::optional<std::string> sessionFile;     // a saved session to run (--session)
    std::optional<std::string> saveSessionFile; // where to save this run's session (--save-session)
    std::optional<std::string> jsonFile;
    std::optional<std::string> curveFile; // the boiling curves as an SVG picture
    std::optional<std::string> tablesDir;
    std::optional<std::string> archiveUrl;    // also archive the calculation there (--archive)
    std::optional<std::string> archiveReason; // the reason of an amendment (--reason)
    bool printLog = false;
    bool strict = false; // a skipped file or a changed input makes the exit status 1
    std::vector<std::string> files;
};

// Parses the arguments after "run". On wrong usage returns nothing and sets `error` to the reason.
// Options take their value as the next argument or after "=".
std::optional<RunOptions> ParseRunOptions(const std::vector<std::string>& args, std::string& error);

} // namespace talvex::cli
