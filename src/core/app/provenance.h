#pragma once

#include "core/app/session.h"
#include "core/common/provenance.h"

#include <cstdint>

namespace talvex {

// The provenance of the session's results as they stand: every file of the list and of the data folder
// is read again for its digest.
Provenance TakeProvenance(const Session& session, std::int64_t calculatedAt);

} // namespace talvex
