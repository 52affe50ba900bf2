#pragma once

#include "core/common/report_settings.h"
#include "core/nlh/degassing.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace talvex {

// A session file (*.tlvx): UTF-8 JSON that records one calculation so that it can be reopened exactly and
// shown to be computed from the same bytes. Format version 1; a reader takes every version up to its own
// and refuses newer ones by name.
inline constexpr int kSessionFormatVersion = 1;
inline constexpr const char* kSessionFormatName = "talvex-session";
// A session file larger than this is not a session file (21 files take a few kilobytes).
inline constexpr std::uintmax_t kMaxSessionFileSize = 16u * 1024u * 1024u;

// One chromatogram file as the session used it.
struct SessionChromatogram {
    std::string path;         // as added
    std::string relativePath; // from the session file's folder, "/" separated; empty when none exists
    std::uintmax_t size = 0;  // bytes
    std::string sha256;       // 64 lower-case hex digits
    std::int32_t fileId = -1; // its place in the order the files were added; -1 when not known
};

// One of the four data files of the data folder.
struct SessionDataFile {
    std::string name; // "Comps.csv", ...
    std::string sha256;
};

// The seven inputs of the degassing page, in page order, with the text each field showed.
inline constexpr std::array<DegassingField, 7> kSessionDegassingInputs{
    DegassingField::AtmPressure, DegassingField::GasTemperature, DegassingField::SampleMass,
    DegassingField::CondMass1,   DegassingField::CondMass2,      DegassingField::GasVolume1,
    DegassingField::GasVolume2};
// The key of an input in the session file ("AtmPressure", ...).
const char* SessionDegassingKey(DegassingField field);

// The calculation settings in force, as the profile holds them (the air shares as their stored texts,
// so that the values read back are the very same).
struct SessionSettings {
    std::int32_t decimals = 3;
    std::int32_t mode = 2;
    std::int32_t airCorrection = 0;
    std::string airN2 = "0.0";
    std::string airO2 = "0.0";
    std::string airCO2 = "0.0";
};

struct SessionRecord {
    int formatVersion = kSessionFormatVersion;
    std::string program = "Talvex";
    std::string programVersion;
    std::int64_t savedAt = 0; // seconds since 1970 UTC
    std::vector<SessionChromatogram> chromatograms;
    std::int32_t degassingMethod = MethodA;
    std::array<std::string, kSessionDegassingInputs.size()> degassingTexts{"0.0", "0.0", "0.0", "0.0",
                                                                           "0.0", "0.0", "0.0"};
    std::string deviceName;
    SessionSettings settings;
    std::array<std::int32_t, kReportSwitchCount> reportSwitches = ReportSettings{}.switches;
    std::string dataFolder;         // absolute
    std::string dataFolderRelative; // from the session file's folder; empty when none exists
    std::vector<SessionDataFile> dataFiles;
};

// The JSON text of a record (pretty-printed, ending in a line feed).
std::string SessionToJson(const SessionRecord& record);

// Reads a record from JSON text. Nothing (and `error` says why, in the program's words) for text that is
// not JSON, not a session file, a newer format version, or a member of the wrong type or out of range.
std::optional<SessionRecord> SessionFromJson(const std::string& text, std::string& error);

// Reads a session file whole (refusing one over kMaxSessionFileSize) and parses it.
std::optional<SessionRecord> ReadSessionFile(const std::filesystem::path& path, std::string& error);

// Writes the record through a temporary file renamed into place.
bool WriteSessionFile(const std::filesystem::path& path, const SessionRecord& record, std::string& error);

} // namespace talvex
