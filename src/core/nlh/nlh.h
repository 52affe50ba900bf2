#pragma once

#include "common/calc_inputs.h"
#include "section7/section7.h"
#include "section8/condensate.h"

namespace talvex {

// The composition of the unstable liquid, rebuilt from scratch by every recalculation.
struct NlhResult {
    bool calculated = false; // CalcNLH ran since the last reset
};

// Empties the rows and sets every value to NotSet.
void ResetNlh(NlhResult& result);

// Joins the gas and condensate results through the gas factor of the degassing.
void CalcNLH(NlhResult& result, const Section7Result& gas, const CondensateResult& condensate,
             const CalcInputs& inputs);

} // namespace talvex
