#pragma once

#include "app/session.h"
#include "common/provenance.h"

#include <cstdint>

namespace talvex {

// The provenance of the session's results as they stand: every file of the list and of the data folder
// is read again for its digest.
Provenance TakeProvenance(const Session& session, std::int64_t calculatedAt);

} // namespace talvex
