#pragma once

#include "core/curve/boiling_curve.h"

#include <optional>
#include <string>
#include <vector>

namespace talvex {

struct CondensateResult;
struct NlhResult;

// The boiling curves of one calculation's composition: the result curve, one curve per analysis (the
// degassed condensate only; never the control sample's), and the reason when there is no result curve.
struct CompositionCurves {
    std::optional<BoilingCurve> result;
    std::vector<BoilingCurve> analyses;
    std::string reason; // one Russian sentence; empty when there is a result curve
};

// The degassed condensate by marking method A: each row with the value the unstable-liquid calculation
// takes (the lowest analysis' mass fraction below two analyses, else the average), and each analysis'
// entries with their mass fractions.
CompositionCurves CondensateCurves(const CondensateResult& condensate);

// The unstable liquid: its rows with NLH_MassP; a row named as a fraction ("F60-70") spreads over its bounds.
CompositionCurves NlhCurves(const NlhResult& nlh);

} // namespace talvex
