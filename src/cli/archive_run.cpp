#include "cli/archive_run.h"

#include "core/archive/archive.h"
#include "core/archive/archive_location.h"
#include "core/archive/session_record.h"
#include "core/archive/spool.h"
#include "core/common/data_file_io.h"

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
    const StoreOutcome outcome = StoreRecord(*options.archiveUrl, spool, record);
    switch (outcome.status) {
    case WriteStatus::Added:
        std::cerr << "talvex-cli: "
                  << (outcome.supersedes.empty() ? "Результат записан в архив: запись " + outcome.id + "."
                                                 : "Исправление записано в архив: запись " + outcome.id +
                                                       " заменяет запись " + outcome.supersedes + ".")
                  << '\n';
        break;
    case WriteStatus::AlreadyPresent:
        std::cerr << "talvex-cli: " << outcome.message << '\n';
        break;
    case WriteStatus::NeedsReason:
        std::cerr << "talvex-cli: " << outcome.message << " (--reason TEXT)\n";
        return 2;
    case WriteStatus::Failed:
        std::cerr << "talvex-cli: " << outcome.message << '\n';
        return 0;
    }
    if (outcome.flushed.sent > 0)
        std::cerr << "talvex-cli: records sent from the spool: " << outcome.flushed.sent << '\n';
    for (const std::string& line : outcome.flushed.kept)
        std::cerr << "talvex-cli: left in the spool: " << line << '\n';
    return 0;
}

} // namespace talvex::cli
