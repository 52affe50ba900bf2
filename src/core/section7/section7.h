#pragma once

#include "core/common/calc_inputs.h"
#include "core/section7/gas_types.h"

namespace talvex {

// Empties every result of the degassing-gas calculation.
void ResetSection7(Section7Result& result);

// Computes the degassing-gas results from the chromatogram list: every analysis with its two
// compositions, the averaged rows, the operational controls and the component issues. Findings go to
// the log; the calculation never stops on bad data.
void CalcSection7(Section7Result& result, const CalcInputs& inputs);

} // namespace talvex
