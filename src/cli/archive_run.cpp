#include "archive_run.h"

#include "archive/archive.h"
#include "archive/archive_location.h"
#include "archive/session_record.h"
#include "archive/spool.h"
#include "common/data_file_io.h"

#include <cstdlib>
#include <iostream>

namespace talvex::cli {

using namespace talvex::archive;

int ArchiveCalculation(const Session& session, const Provenance& provenance, const RunOptions& options,
                       const std::string& deviceName, const std::string& resultsJson, std::int64_t now) {
    RecordExtras extras;
    extras.resultsJson = resultsJson;
    extras.reason = options.archiveReason.value_or("");
    extras.deviceName = deviceName;
    // The session file of this run, when there is one: the one saved, else the one run.
    if (const auto& file = options.saveSessionFile ? options.saveSessionFile : options.sessionFile)
        ReadFileFrom(*file, 0, extras.sessionJson, nullptr);
    const ArchiveRecord record = BuildArchiveRecord(session, provenance, extras, now);

    const std::filesystem::path spool = DefaultSpoolFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::string error;
    const bool spooled = SpoolRecord(spool, record, error);
    if (!spooled)
        std::cerr << "talvex-cli: the record cannot be kept in the spool " << spool.string() << ": " << error
                  << '\n';
    std::unique_ptr<Archive> archive = Archive::Open(*options.archiveUrl, error);
    if (!archive) {
        std::cerr << "talvex-cli: " << NotArchivedMessage(error) << '\n';
        return 0;
    }
    const WriteResult result = archive->Write(record);
    switch (result.status) {
    case WriteStatus::Added:
        Unspool(spool, record.id);
        std::cerr << "talvex-cli: "
                  << (result.supersedes.empty() ? "Результат записан в архив: запись " + result.id + "."
                                                : "Исправление записано в архив: запись " + result.id +
                                                      " заменяет запись " + result.supersedes + ".")
                  << '\n';
        break;
    case WriteStatus::AlreadyPresent:
        Unspool(spool, record.id);
        std::cerr << "talvex-cli: " << result.message << '\n';
        break;
    case WriteStatus::NeedsReason:
        // Refused, not failed: nothing waits in the spool for it.
        Unspool(spool, record.id);
        std::cerr << "talvex-cli: " << result.message << " (--reason TEXT)\n";
        return 2;
    case WriteStatus::Failed:
        std::cerr << "talvex-cli: " << NotArchivedMessage(result.message) << '\n';
        return 0;
    }
    // Records that waited for the archive go with this one.
    const FlushReport flushed = FlushSpool(spool, *archive);
    if (flushed.sent > 0)
        std::cerr << "talvex-cli: records sent from the spool: " << flushed.sent << '\n';
    return 0;
}

} // namespace talvex::cli
