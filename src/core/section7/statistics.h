#pragma once

#include "core/section7/gas_types.h"

namespace talvex {

class MessageLog;

// The norm range of the component that applies to v: nullptr when the component has no gas norms,
// NoMatchingNorm() when none covers v.
const NormRange* FindNorm(const ComponentRecord* component, double v);

// One row per line name and composition over all analyses: the lines of the first analysis each make
// a row, later analyses join the first row of the same name (letter case ignored) or add rows.
void BuildRows(Section7Result& result);

// Averages, spreads and limits of the rows and the properties of the averaged gas (with one analysis
// its own properties). Problems are noted among the component issues; averaged properties that cannot
// be computed are explained in the log.
void AverageRows(Section7Result& result, MessageLog& log);

} // namespace talvex
