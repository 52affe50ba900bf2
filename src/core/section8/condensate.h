#pragma once

#include "common/calc_inputs.h"

namespace talvex {

// Results of the degassed-condensate calculation, rebuilt from scratch by every recalculation.
struct CondensateResult {
    bool calculated = false; // CalcCondensate ran since the last reset
};

// Empties every result of the condensate calculation.
void ResetCondensate(CondensateResult& result);

// Computes the condensate results from the chromatogram list; findings go to the log.
void CalcCondensate(CondensateResult& result, const CalcInputs& inputs);

} // namespace talvex
