#pragma once

#include "core/curve/composition_curves.h"

#include <string>

namespace talvex {

// The boiling curves as an SVG picture (UTF-8 text, 160 × 100 mm): temperature, °C, across; "% отгона"
// up; the degassed condensate's result curve bold, each of its analyses thin, the unstable liquid in a
// colour of its own, and a legend. Without any curve it shows the reasons instead.
std::string BoilingCurvesSvg(const CompositionCurves& condensate, const CompositionCurves& nlh);

} // namespace talvex
