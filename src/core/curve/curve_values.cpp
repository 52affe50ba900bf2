#include "core/curve/curve_values.h"

#include "core/common/number_text.h"

#include <cmath>
#include <functional>

namespace talvex {
namespace {

std::string Value(double value, int decimals) {
    return std::isfinite(value) ? FormatFixed(value, decimals) : std::string("---");
}

std::string CutTitle(std::size_t i) {
    const double p = kCurveCutPercents[i];
    if (i == 0)
        return "НК (IBP), °C";
    if (i + 1 == kCurveCutPercents.size())
        return "КК (FBP), °C";
    return "Отгон " + FormatGeneral(p, 6) + " %, °C";
}

} // namespace

std::vector<CurveValueRow> CurveValueRows(const CompositionCurves& condensate, const CompositionCurves& nlh,
                                          int decimals) {
    // Each row reads one value off a curve.
    std::vector<std::pair<std::string, std::function<std::string(const BoilingCurve&)>>> readers;
    for (std::size_t i = 0; i < kCurveCutPercents.size(); ++i)
        readers.emplace_back(CutTitle(i), [i](const BoilingCurve& c) { return Value(c.cutTemps[i], 1); });
    for (std::size_t i = 0; i < kCurveYieldTemps.size(); ++i)
        readers.emplace_back("Отгон до " + FormatFixed(kCurveYieldTemps[i], 0) + " °C, %",
                             [i, decimals](const BoilingCurve& c) { return Value(c.yields[i], decimals); });
    readers.emplace_back("Лёгкая часть, %",
                         [decimals](const BoilingCurve& c) { return Value(c.lightEnd, decimals); });
    readers.emplace_back("Конец кривой, °C", [](const BoilingCurve& c) { return Value(c.curveEnd, 1); });

    std::vector<CurveValueRow> rows;
    for (const auto& [title, read] : readers) {
        CurveValueRow row{title,
                          condensate.result ? read(*condensate.result) : "---",
                          {},
                          nlh.result ? read(*nlh.result) : "---"};
        for (const BoilingCurve& c : condensate.analyses)
            row.analyses.push_back(read(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string UnplacedText(const BoilingCurve& curve, int decimals) {
    std::string text;
    for (const auto& [name, share] : curve.unplaced) {
        if (!text.empty())
            text += "; ";
        text += name + " (" + Value(share, decimals) + " %)";
    }
    return text;
}

} // namespace talvex
