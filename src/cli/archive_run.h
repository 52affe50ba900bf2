#pragma once

#include "cli/run_options.h"
#include "core/app/session.h"
#include "core/common/provenance.h"

#include <cstdint>
#include <string>

namespace talvex::cli {

// Archives the calculation after its outputs are written (`run --archive URL [--reason TEXT]`). The record
// goes into the spool first and leaves it once the archive has committed it; an archive that cannot be
// written costs the run nothing but a message on stderr. Returns 2 for an amendment without a reason (one
// line on stderr, nothing stored), else 0.
int ArchiveCalculation(const Session& session, const Provenance& provenance, const RunOptions& options,
                       const std::string& deviceName, const std::string& resultsJson, std::int64_t now);

} // namespace talvex::cli
