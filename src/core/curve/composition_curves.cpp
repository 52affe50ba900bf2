#include "core/curve/composition_curves.h"

#include "core/common/not_set.h"
#include "core/components/component_record.h"
#include "core/nlh/nlh.h"
#include "core/section8/condensate.h"

#include <limits>

namespace talvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The liquid boiling point of a component, else its gas one; NaN without a component or a boiling point.
double BoilingPointOf(const ComponentRecord* component) {
    if (!component)
        return kNaN;
    if (!IsNotSet(component->liquid.boilingPoint))
        return component->liquid.boilingPoint;
    return IsNotSet(component->gas.boilingPoint) ? kNaN : component->gas.boilingPoint;
}

CurveItem ItemOf(const CondensateEntry& entry, const std::string& name, double share) {
    CurveItem item;
    item.name = name;
    item.massShare = share;
    item.isFraction = entry.isFraction && entry.lowTemp != kNoTemperature && entry.highTemp != kNoTemperature;
    if (item.isFraction) {
        item.lowTemp = entry.lowTemp;
        item.highTemp = entry.highTemp;
    }
    item.boilingPoint = item.isFraction ? kNaN : BoilingPointOf(entry.component);
    return item;
}

} // namespace

CompositionCurves CondensateCurves(const CondensateResult& condensate) {
    CompositionCurves curves;
    if (!condensate.calculated || condensate.analyses.empty()) {
        curves.reason = "Нет анализов дегазированного конденсата: кривая разгонки не строится.";
        return curves;
    }
    std::vector<CurveItem> items;
    for (const CondensateRow& row : condensate.rowsA) {
        if (row.perAnalysis.empty())
            continue;
        const CondensateEntry& first = *row.perAnalysis.begin()->second;
        items.push_back(ItemOf(first, row.name, row.ResultValue()));
    }
    curves.result = BuildBoilingCurve(items, curves.reason);
    for (const CondensateAnalysis& analysis : condensate.analyses) {
        std::vector<CurveItem> entries;
        for (const CondensateEntry& entry : analysis.entriesA)
            entries.push_back(ItemOf(entry, entry.name, entry.massFraction));
        std::string unused;
        if (std::optional<BoilingCurve> curve = BuildBoilingCurve(entries, unused)) {
            curve->analysis = analysis.analysisNo + 1;
            curves.analyses.push_back(std::move(*curve));
        }
    }
    return curves;
}

CompositionCurves NlhCurves(const NlhResult& nlh) {
    CompositionCurves curves;
    if (!nlh.calculated || nlh.rows.empty()) {
        curves.reason = "Состав НЖУ не рассчитан: кривая разгонки не строится.";
        return curves;
    }
    std::vector<CurveItem> items;
    for (const NlhRow& row : nlh.rows) {
        CurveItem item;
        item.name = row.NameComp;
        item.massShare = row.NLH_MassP;
        if (const auto bounds = FractionBounds(row.NameComp)) {
            item.isFraction = true;
            item.lowTemp = bounds->first;
            item.highTemp = bounds->second;
            item.boilingPoint = kNaN;
        } else {
            item.boilingPoint = BoilingPointOf(row.Component);
        }
        items.push_back(std::move(item));
    }
    curves.result = BuildBoilingCurve(items, curves.reason);
    return curves;
}

} // namespace talvex
