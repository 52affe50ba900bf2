#pragma once

#include "core/section7/gas_context.h"

namespace talvex {

// Which list ComputeMassFractions works on: the joined TCD lines or one of the two compositions.
inline constexpr int kTcdList = -1;

// Mass fractions from the areas weighted with the detectors' sensitivity coefficients. Lines without a
// component, detector type or coefficient take no part (and are noted among the component issues); for a
// composition (k >= 0) the positive fractions are summed into positiveSum[k].
void ComputeMassFractions(GasAnalysis& analysis, std::vector<GasLine>& lines, int k, GasContext& ctx);

// Brings the non-hydrocarbons measured on the TCD into both FID compositions, scaled by the ratio of
// the components measured on both detectors, and normalises both compositions to 100 %.
void JoinFidTcd(GasAnalysis& analysis, GasContext& ctx);

// Divides every set mass fraction of the lines by their sum and multiplies by 100. False (and nothing
// changed) when the sum is zero or not finite.
bool Normalise(std::vector<GasLine>& lines);

} // namespace talvex
