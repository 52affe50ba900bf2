#pragma once

#include "core/curve/composition_curves.h"
#include "core/results/json_writer.h"

namespace talvex {

// "boilingCurve": {"result": CURVE or null, "analyses": [CURVE…] (with `withAnalyses`), "reason": null or
// the sentence}; a value that cannot be read off the curve is null.
void WriteBoilingCurves(JsonWriter& json, const CompositionCurves& curves, bool withAnalyses);

} // namespace talvex
