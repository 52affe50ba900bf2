#include "core/results/curve_json.h"

#include <iterator>
#include <string>
#include <string_view>

namespace talvex {
namespace {

constexpr const char* kCutNames[] = {"IBP", "T5",  "T10", "T20", "T30", "T40", "T50",
                                     "T60", "T70", "T80", "T90", "T95", "FBP"};
static_assert(std::size(kCutNames) == kCurveCutPercents.size());

void WriteCurve(JsonWriter& json, std::string_view key, const BoilingCurve& curve) {
    json.BeginObject(key);
    if (curve.analysis > 0)
        json.Integer("analysis", curve.analysis);
    else
        json.Null("analysis");
    json.BeginArray("points");
    for (const auto& [temp, share] : curve.points) {
        json.BeginArray();
        json.Number("", temp);
        json.Number("", share);
        json.EndArray();
    }
    json.EndArray();
    for (std::size_t i = 0; i < kCurveCutPercents.size(); ++i)
        json.Number(kCutNames[i], curve.cutTemps[i]);
    json.BeginObject("yields");
    for (std::size_t i = 0; i < kCurveYieldTemps.size(); ++i)
        json.Number(std::to_string(static_cast<int>(kCurveYieldTemps[i])), curve.yields[i]);
    json.EndObject();
    json.Number("lightEnd", curve.lightEnd);
    json.Number("curveEnd", curve.curveEnd);
    json.BeginArray("unplaced");
    for (const auto& [name, share] : curve.unplaced) {
        json.BeginObject();
        json.String("name", name);
        json.Number("massFraction", share);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

} // namespace

void WriteBoilingCurves(JsonWriter& json, const CompositionCurves& curves, bool withAnalyses) {
    json.BeginObject("boilingCurve");
    if (curves.result) {
        WriteCurve(json, "result", *curves.result);
    } else {
        json.Null("result");
    }
    if (withAnalyses) {
        json.BeginArray("analyses");
        for (const BoilingCurve& curve : curves.analyses)
            WriteCurve(json, {}, curve);
        json.EndArray();
    }
    if (curves.reason.empty())
        json.Null("reason");
    else
        json.String("reason", curves.reason);
    json.EndObject();
}

} // namespace talvex
