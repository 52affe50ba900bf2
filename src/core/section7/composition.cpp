#include "core/section7/composition.h"

#include "core/common/format.h"
#include "core/components/component_table.h"
#include "core/components/group_text.h"
#include "core/section7/air_correction.h"
#include "core/section7/blank_correction.h"
#include "core/section7/calibration.h"
#include "core/section7/gas_messages.h"
#include "core/section7/mass_fractions.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace talvex {
namespace {

// The gas fractions end at 230 °C; the first one starts at 45 °C at the lowest.
constexpr double kLastFractionEnd = 230.0;
constexpr double kFirstFractionStart = 45.0;
constexpr double kFirstFractionEnd = 60.0;
constexpr double kFractionWidth = 10.0;

double SumIfSet(double a, double b) {
    return IsNotSet(a) || IsNotSet(b) ? NotSet : a + b;
}

GasLine IndividualLine(GasAnalysis& analysis, const PeakEntry& e) {
    GasLine line;
    line.component = e.component;
    line.name = e.name;
    line.detector = kFidLine;
    line.sourceEntry = &e;
    line.beginTime = e.beginTime;
    line.endTime = e.endTime;
    const double corrected = CorrectedArea(analysis, e.beginTime, e.endTime);
    line.area = corrected > 0.0 ? corrected : e.area;
    return line;
}

// Step 1: lines for the components boiling below T, group lines kept apart in `groups`.
void AddComponentLines(GasAnalysis& analysis, double T, std::vector<GasLine>& lines,
                       std::vector<GasLine>& groups, const GasContext& ctx) {
    for (const PeakEntry& e : analysis.fid.entries) {
        const ComponentRecord* component = e.component;
        if (!component || !(IsNotSet(component->gas.boilingPoint) || component->gas.boilingPoint < T))
            continue;
        const ComponentRecord* target =
            ctx.components.FindComponent(PickGroupPart(component->gas.group, false));
        if (!target) {
            lines.push_back(IndividualLine(analysis, e));
            if (!component->gas.group.empty())
                PostWrongGroup(ctx.log, e.name, *component);
            continue;
        }
        const double area = CorrectedArea(analysis, e.beginTime, e.endTime);
        auto g = std::find_if(groups.begin(), groups.end(),
                              [&](const GasLine& l) { return l.component == target; });
        if (g != groups.end()) {
            g->area = SumIfSet(g->area, area);
            g->mergedEntries.push_back(&e);
        } else {
            GasLine line;
            line.component = target;
            line.detector = kFidLine;
            line.name = target->displayName;
            line.area = area;
            line.mergedEntries = {&e};
            groups.push_back(std::move(line));
        }
        if (groups.back().component == component) {
            groups.back().beginTime = e.beginTime;
            groups.back().endTime = e.endTime;
        }
    }
}

// Step 2: each group line goes before the first FID line starting after it.
void MergeGroups(std::vector<GasLine>& lines, std::vector<GasLine>& groups) {
    for (GasLine& g : groups) {
        auto at = lines.end();
        const GasLine* previousFid = nullptr;
        for (auto it = lines.begin(); it != lines.end(); ++it) {
            if (it->detector != kFidLine)
                continue;
            if (it->beginTime > g.beginTime &&
                (it == lines.begin() || (previousFid && previousFid->beginTime < g.beginTime))) {
                at = it;
                break;
            }
            previousFid = &*it;
        }
        lines.insert(at, std::move(g));
    }
}

// Steps 3 and 4: the boiling fractions after the last individual line, up to 230 °C.
void AddFractionLines(GasAnalysis& analysis, double T, std::vector<GasLine>& lines, const GasContext& ctx) {
    const double rtT = Interpolate(analysis.calibration, T, CalibrationDirection::ToRetentionTime);
    double rtStart = rtT;
    if (!lines.empty() && lines.back().detector == kFidLine)
        rtStart = std::max(lines.back().endTime, rtT);
    double tStart = Interpolate(analysis.calibration, rtStart, CalibrationDirection::ToBoilingPoint);
    if (IsNotSet(tStart)) {
        const bool lastHasComponent = !lines.empty() && lines.back().component;
        tStart = lastHasComponent ? lines.back().component->gas.boilingPoint : T;
        if (IsNotSet(tStart))
            tStart = T;
    }
    double tLow = std::trunc((tStart + 5) / 10) * 10;
    if (tLow < kFirstFractionEnd)
        tLow = kFirstFractionStart;
    double rt = rtStart;
    while (tLow < kLastFractionEnd) {
        const double tHigh = tLow < kFirstFractionEnd ? kFirstFractionEnd : tLow + kFractionWidth;
        GasLine line;
        line.detector = kFidLine;
        line.isFraction = true;
        line.name = StrPrintf("F%d-%d", static_cast<int>(tLow), static_cast<int>(tHigh));
        line.component = ctx.components.FindComponent(line.name);
        line.lowT = tLow;
        line.highT = tHigh;
        line.beginTime = rt;
        line.endTime = Interpolate(analysis.calibration, tHigh, CalibrationDirection::ToRetentionTime);
        line.area = CorrectedArea(analysis, line.beginTime, line.endTime);
        rt = line.endTime;
        tLow = tHigh;
        lines.push_back(std::move(line));
    }
}

// The part of the peak [a, b] that lies in the fraction window of p: nothing when they do not overlap,
// NotSet when they do but the area cannot be integrated.
std::optional<double> Overlap(const GasAnalysis& analysis, GasLine& p, double a, double b) {
    const double s = p.beginTime;
    const double f = p.endTime;
    const bool endSet = !IsNotSet(f);
    if (s <= a && b <= f)
        return CorrectedArea(analysis, a, b);
    if (s > a && b > f && endSet)
        return p.area;
    if (s < a && a < f && f < b)
        return CorrectedArea(analysis, a, f);
    if (a < s && s < b && b < f)
        return CorrectedArea(analysis, s, b);
    if (!endSet && s < b) {
        p.endTime = b;
        return CorrectedArea(analysis, std::max(a, s), b);
    }
    return std::nullopt;
}

} // namespace

void TransferPeak(GasAnalysis& analysis, const PeakEntry& e, std::vector<GasLine>& lines,
                  const GasContext& ctx) {
    const ComponentRecord& component = *e.component;
    const ComponentRecord* fracComp = ctx.components.FindComponent(PickGroupPart(component.gas.group, true));
    const double a = e.beginTime;
    const double b = e.endTime;
    GasLine* target = nullptr;
    std::vector<std::pair<GasLine*, double>> overlaps;
    bool unknownOverlap = false;
    for (GasLine& p : lines) {
        if (!p.isFraction)
            continue;
        if (fracComp && p.component == fracComp)
            target = &p;
        if (p.beginTime < 0.0)
            continue;
        const std::optional<double> h = Overlap(analysis, p, a, b);
        if (!h)
            continue;
        if (IsNotSet(*h))
            unknownOverlap = true;
        else
            overlaps.emplace_back(&p, *h);
    }
    if (!target) {
        if (!fracComp || std::string_view(fracComp->key).starts_with("F"))
            PostWrongGroup(ctx.log, e.name, component);
        return;
    }
    // Moving only part of the peak would lose or double some of its area: leave everything in place.
    const double whole = CorrectedArea(analysis, a, b);
    if (unknownOverlap || IsNotSet(whole) || IsNotSet(target->area)) {
        PostFractionNotMoved(ctx.log, e.name, component);
        return;
    }
    for (auto& [line, h] : overlaps)
        line->area = SumIfSet(line->area, -h);
    target->area = target->area + whole;
}

void BuildComposition(GasAnalysis& analysis, double T, std::vector<GasLine>& lines, const GasContext& ctx) {
    std::vector<GasLine> groups;
    AddComponentLines(analysis, T, lines, groups, ctx);
    MergeGroups(lines, groups);
    AddFractionLines(analysis, T, lines, ctx);
    for (const PeakEntry& e : analysis.fid.entries) {
        const ComponentRecord* c = e.component;
        if (c && !c->gas.group.empty() && c->gas.boilingPoint > T)
            TransferPeak(analysis, e, lines, ctx);
    }
}

void BuildFidCompositions(GasAnalysis& analysis, GasContext& ctx) {
    BuildComposition(analysis, kComponentThreshold, analysis.componentLines, ctx);
    BuildComposition(analysis, kFractionThreshold, analysis.fractionLines, ctx);
    ComputeMassFractions(analysis, analysis.componentLines, kComponentComposition, ctx);
    ComputeMassFractions(analysis, analysis.fractionLines, kFractionComposition, ctx);
    JoinFidTcd(analysis, ctx);
    CorrectAir(analysis, analysis.componentLines, ctx);
    CorrectAir(analysis, analysis.fractionLines, ctx);
}

} // namespace talvex
