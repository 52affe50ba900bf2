#pragma once

#include "core/app/session.h"
#include "core/archive/archive_record.h"
#include "core/common/provenance.h"

#include <cstdint>
#include <string>

namespace talvex::archive {

// What a calculation leaves besides the session: its results JSON (the very bytes of `run --json`), the
// session file's text when there is one, and the operator's reason for an amendment.
struct RecordExtras {
    std::string resultsJson;
    std::string sessionJson;
    std::string reason;
    std::string deviceName;
    bool storeChromatograms = false; // keep the chromatogram files themselves (off by default)
};

// The archive record of the session's calculation: the chromatograms with their digests and passports, the
// data files as they are now in the data folder, the settings and degassing inputs, every result row and
// control row, the message log. Host and user are those of this process; the id is new.
ArchiveRecord BuildArchiveRecord(const Session& session, const Provenance& provenance,
                                 const RecordExtras& extras, std::int64_t now);

} // namespace talvex::archive
