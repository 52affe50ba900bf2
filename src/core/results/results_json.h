#pragma once

#include "core/app/provenance.h"
#include "core/app/session.h"

#include <string>

namespace talvex {

// Every result of the session as one JSON object (the shape is described in the README): the settings
// used, the chromatogram list, the degassing page, the degassing gas, the condensate, the unstable liquid
// and the message log, then what the results were computed from. Numbers in full precision; a missing
// number (NotSet, NaN, infinity) is null.
std::string ResultsJson(const Session& session, const Provenance& provenance);

} // namespace talvex
