#pragma once

#include "core/app/session.h"
#include "core/app/session_file.h"
#include "core/common/file_digest_cache.h"
#include "core/common/settings_store.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace talvex {

// Taking a calculation into a session record, and a record back into a calculation.

// The record of `session` as it stands: its files in list order with their size and SHA-256, the degassing
// page, the settings and report switches the session's profile holds, the instrument and the digests of
// the four data files. Relative paths are taken from `sessionFile`'s folder. Nothing when a chromatogram
// file of the list can no longer be read (`error` names it): a record must prove every file it lists.
// A cache (when given) spares hashing files that have not changed since the last capture.
std::optional<SessionRecord> CaptureSession(const Session& session, const std::string& deviceName,
                                            const std::filesystem::path& sessionFile, std::int64_t now,
                                            std::string& error, FileDigestCache* cache = nullptr);

// What the operator set, without touching the file system: the record of CaptureSession with no relative
// paths, sizes or digests and no save time. Two states that differ mean the session changed; cheap
// enough for every keystroke.
SessionRecord CaptureState(const Session& session, const std::string& deviceName);

// The four data files in the order the record lists them, with their digests (an empty digest for a file
// that cannot be read).
std::vector<SessionDataFile> DigestDataFiles(const std::filesystem::path& dataFolder);

// Something about a reopened session the operator must be told; the text names the file.
struct SessionProblem {
    enum class Kind { MissingFile, ChangedFile, ChangedDataFile, MissingDataFile };
    Kind kind;
    std::string name; // the file's path as stored, or the data file's name
    std::string text; // one line, in the program's words
};

// Finds the record's chromatogram files: first relative to the session file's folder, then by their stored
// path. A file that is found and still has its digest is returned (in the order the files were added);
// a missing or changed file is left out and reported.
struct ResolvedFiles {
    std::vector<std::string> paths;
    std::vector<SessionProblem> problems;
};
ResolvedFiles ResolveSessionFiles(const SessionRecord& record, const std::filesystem::path& sessionFile);

// Compares the data folder's files with the record's digests; every difference is reported.
std::vector<SessionProblem> CheckDataFiles(const SessionRecord& record,
                                           const std::filesystem::path& dataFolder);

// The data folder a reopened session uses: the stored one, found as the files are (relative to the session
// file first, then by its stored path), while it still holds the component database; else `fallback`.
std::filesystem::path SessionDataFolder(const SessionRecord& record, const std::filesystem::path& sessionFile,
                                        const std::filesystem::path& fallback);

// The profile values a record sets: the six calculation settings, the thirteen report switches and the
// instrument name. The desktop program writes them into the profile; the CLI lays them over it for one run.
struct SettingWrite {
    std::string section;
    std::string key;
    std::variant<std::int32_t, std::string> value;
};
std::vector<SettingWrite> SessionSettingWrites(const SessionRecord& record);
void WriteSessionSettings(const SessionRecord& record, SettingsStore& store);

// Where the desktop program keeps the current session after every change: "talvex/recovery.tlvx" in
// $XDG_DATA_HOME, else in $HOME/.local/share (values passed in, nullptr when unset); empty when neither is
// set.
std::filesystem::path SessionRecoveryPath(const char* xdgDataHome, const char* home);

// Puts the record's method and typed texts on the degassing page, as if the operator had typed them.
void RestoreDegassing(const SessionRecord& record, DegassingPage& page, int decimals);

} // namespace talvex
