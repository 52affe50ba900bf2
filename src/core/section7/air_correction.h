#pragma once

#include "core/section7/gas_context.h"

namespace talvex {

// Air-content limit of a sample, mass %: above it the full composition is not reliable.
inline constexpr double kAirLimit = 2.0;

// When the settings ask for it, removes the air that entered the sample, with oxygen as the tracer:
// nitrogen and carbon dioxide are reduced by their shares in air relative to oxygen, oxygen is dropped,
// lines left without a positive fraction are removed and the rest is normalised to 100 %.
void CorrectAir(GasAnalysis& analysis, std::vector<GasLine>& lines, GasContext& ctx);

} // namespace talvex
