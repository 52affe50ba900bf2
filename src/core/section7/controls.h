#pragma once

#include "core/section7/gas_context.h"

namespace talvex {

// The limit K of the control with a sample: 0.84 x the reproducibility limit (%) of the mean of the two
// results (mass %).
double ControlSampleLimit(double reproducibility, double measured, double reference);

// The limit K of the control with a standard: the accuracy (%) of the certified value (mass %).
double ControlStandardLimit(double delta, double reference);

// Runs both operational controls that have an FID run: the control with a sample (computed like an
// analysis and compared with the first analysis) and the control with a certified standard (its FID
// peaks as measured, compared with the certified values).
void RunControls(Section7Result& result, GasContext& ctx);

// Rows of the control with a sample: the control run's lines, then the first analysis' values by name.
void CompareControlSample(Section7Result& result);

// The difference of each control-with-a-sample row against 0.84 x the reproducibility limit.
void CheckControlSample(Section7Result& result);

// Rows of the control with a standard, judged against the accuracy of the certified value.
void CompareControlStandard(Section7Result& result);

} // namespace talvex
