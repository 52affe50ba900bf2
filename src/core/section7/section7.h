#pragma once

#include "common/calc_inputs.h"

namespace talvex {

// Results of the degassing-gas calculation, rebuilt from scratch by every recalculation.
struct Section7Result {
    bool calculated = false; // CalcSection7 ran since the last reset
};

// Empties every result of the degassing-gas calculation.
void ResetSection7(Section7Result& result);

// Computes the degassing-gas results from the chromatogram list; findings go to the log.
void CalcSection7(Section7Result& result, const CalcInputs& inputs);

} // namespace talvex
