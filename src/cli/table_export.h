#pragma once

#include "core/app/session.h"

#include <string>

namespace talvex::cli {

// Writes every table of the session into `folder` (created when missing) as UTF-8 with LF line ends:
// list.tsv, peaks-N.tsv for the N-th list entry, and log.txt, the log text with its CR LF kept.
// False with a reason in `error` when a file cannot be written.
bool WriteTables(const Session& session, const std::string& folder, std::string& error);

} // namespace talvex::cli
