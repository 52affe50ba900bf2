#pragma once

#include "core/section7/gas_types.h"

namespace talvex {

class MessageLog;

// The FID signal of the analysis less the blank run (shifted by the difference of their baseline levels,
// never below 0) as `corrected`, as long as the shorter of the two; without a blank run the FID signal as
// it is, with the warning that the blank is missing. `corrected` reads the chromatograms' samples.
void CorrectBlank(GasAnalysis& analysis, const DetectorSlot& blank, MessageLog& log);

// The area of the corrected signal between the times a and b (minutes) by the trapezoid rule over the
// samples; NotSet when the analysis has no FID run or signal, a time is missing, or a time lies outside
// the signal.
double CorrectedArea(const GasAnalysis& analysis, double a, double b);

} // namespace talvex
