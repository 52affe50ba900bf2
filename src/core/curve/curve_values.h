#pragma once

#include "core/curve/composition_curves.h"

#include <string>
#include <vector>

namespace talvex {

// The reported values of the boiling curves as the screen and the report show them: one row per value
// (IBP, T5 … T95, FBP, the yields, the light end, the curve's end), temperatures with one decimal, shares
// with `decimals`; "---" where a value cannot be read off or a curve is missing.
struct CurveValueRow {
    std::string title;                 // "НК (IBP), °C", "Отгон до 100 °C, %", …
    std::string condensate;            // the degassed condensate's result curve
    std::vector<std::string> analyses; // each analysis' curve, in the order of `condensate.analyses`
    std::string nlh;                   // the unstable liquid's curve
};

std::vector<CurveValueRow> CurveValueRows(const CompositionCurves& condensate, const CompositionCurves& nlh,
                                          int decimals);

// The rows left off a curve (no component or no boiling point), as "name (share %)" joined by "; ";
// empty when every row was placed.
std::string UnplacedText(const BoilingCurve& curve, int decimals);

} // namespace talvex
