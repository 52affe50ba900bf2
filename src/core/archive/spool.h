#pragma once
// Records that wait for the archive: one file per record in the spool folder, each written atomically.
// A record leaves the spool only after the archive has committed it (or already held it).

#include "core/archive/archive.h"
#include "core/archive/archive_record.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace talvex::archive {

// Writes the record into the spool (creating the folder). False, and `error` says why, when it cannot.
bool SpoolRecord(const std::filesystem::path& folder, const ArchiveRecord& record, std::string& error);
// Takes a record out of the spool once the archive holds it.
void Unspool(const std::filesystem::path& folder, const std::string& id);
// The spooled file of a record.
std::filesystem::path SpoolFile(const std::filesystem::path& folder, const std::string& id);

struct FlushReport {
    int sent = 0;                  // stored now
    int alreadyPresent = 0;        // the archive held them already
    std::vector<std::string> kept; // one line per record left in the spool, with the reason
};

// Sends every spooled record to the archive, oldest file first.
FlushReport FlushSpool(const std::filesystem::path& folder, Archive& archive);

// The operator's line for a record the archive could not take.
std::string NotArchivedMessage(const std::string& reason);

struct StoreOutcome {
    WriteStatus status = WriteStatus::Failed;
    std::string id;         // the record stored, or the one that already held the result
    std::string supersedes; // the record amended
    std::string message;    // for the message log: why it was not stored, or that it was there already
    FlushReport flushed;    // what the spool sent after it
};

// Archives one calculation without ever losing it: the record goes into the spool first, then into the
// archive at `url`, and leaves the spool once committed (or found there already); records that waited in
// the spool are sent after it. An amendment without a reason is refused and not spooled. `prepare` (when
// given) sees the opened archive before the write.
StoreOutcome StoreRecord(const std::string& url, const std::filesystem::path& spool,
                         const ArchiveRecord& record, const std::function<void(Archive&)>& prepare = {});

} // namespace talvex::archive
