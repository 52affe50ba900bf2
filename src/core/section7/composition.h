#pragma once

#include "core/section7/gas_context.h"

namespace talvex {

// Boiling thresholds, °C: below them components are listed singly, above them as boiling fractions.
inline constexpr double kComponentThreshold = 175.0; // the component composition
inline constexpr double kFractionThreshold = 45.0;   // the component-fractional composition

// The composition of one analysis with the boiling threshold T (175 °C: component composition, 45 °C:
// component-fractional composition) into `lines`, which must be empty: FID components boiling below T
// singly or merged into the line of the component their group names, then the boiling fractions from
// about T up to 230 °C integrated on the corrected signal, then the peaks whose group names a fraction
// moved wholly into that fraction. Needs the calibration and the corrected signal.
void BuildComposition(GasAnalysis& analysis, double T, std::vector<GasLine>& lines, const GasContext& ctx);

// Both compositions of an analysis (or a control run) after its calibration and blank correction: the
// lines, their mass fractions, the FID-TCD join and the air correction, in that order.
void BuildFidCompositions(GasAnalysis& analysis, GasContext& ctx);

// Moves the whole corrected area of the peak into the fraction its group names, taking it out of the
// fraction windows it overlaps. A peak whose areas cannot be worked out is left in place and reported.
void TransferPeak(GasAnalysis& analysis, const PeakEntry& e, std::vector<GasLine>& lines,
                  const GasContext& ctx);

} // namespace talvex
