// Marking of a condensate analysis: individual components and groups up to n-pentane, then the boiling
// fractions (method A) or the sections closed by the n-paraffins (method B).
#include "core/chromatogram/opened_chm_file.h"
#include "core/common/format.h"
#include "core/components/component_table.h"
#include "core/components/group_text.h"
#include "core/section8/condensate.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace talvex {
namespace {

constexpr const char* kPentane = "н-Пентан";
constexpr double kLightBoilingLimit = 45.0; // below it a component stays out of the fractions
constexpr double kLastFractionLimit = 590.0;

// Inserts the group before the first entry that starts after it where the entry before starts before it.
void MergeByWindowStart(std::vector<CondensateEntry>& entries, CondensateEntry group) {
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const bool startsAfter = entries[k].windowStart > group.windowStart;
        const bool previousBefore = k == 0 || entries[k - 1].windowStart < group.windowStart;
        if (startsAfter && previousBefore) {
            entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(k), std::move(group));
            return;
        }
    }
    entries.push_back(std::move(group));
}

void FillMissingAreas(CondensateAnalysis& a, std::vector<CondensateEntry>& entries) {
    for (CondensateEntry& e : entries) {
        if (e.area > 0.0)
            continue;
        const double area = a.Integrate(e.windowStart, e.windowEnd);
        if (!IsNotSet(area))
            e.area = area;
    }
}

} // namespace

void CondensateAnalysis::ProcessAnalysis(const CondensateRun& blank, const BoilingCalibration& calibration,
                                         const ComponentTable& components, const RetentionTimeTable& table,
                                         CondensateProblems& problems) {
    if (!chromatogram)
        return;
    SubtractBlank(blank);
    const BoilingCalibration* cal = &calibration;
    if (calibration.Empty()) {
        ownCalibration.BuildCalibration(*chromatogram, components, table);
        cal = &ownCalibration;
    }
    MarkComponents(components);
    AddTemperatureFractions(*cal, components);
    for (const cmpeek& peak : chromatogram->peaks)
        MoveToFraction(peak, components);
    AddCarbonNumberEntries(components);
    if (entriesA.empty() || pentaneIndex < 0)
        return; // without n-pentane there is nothing to relate the response factors to
    FillMissingAreas(*this, entriesA);
    ComputeComposition(MarkingMethod::A, problems);
    molarMassA = ComputeMolarMass(entriesA, problems);
    FillMissingAreas(*this, entriesB);
    ComputeComposition(MarkingMethod::B, problems);
    molarMassB = ComputeMolarMass(entriesB, problems);
}

void CondensateAnalysis::MarkComponents(const ComponentTable& components) {
    const ComponentRecord* pentane = components.FindComponent(kPentane);
    bool pentaneSeen = false;
    std::vector<CondensateEntry> groups;
    for (const cmpeek& peak : chromatogram->peaks) {
        const ComponentRecord* c = components.FindComponent(peak.name);
        if (!c || IsNotSet(peak.area))
            continue;
        CondensateEntry e;
        e.component = c;
        e.peak = &peak;
        e.name = peak.name;
        e.retentionTime = peak.retentionTime;
        e.windowStart = peak.beginTime;
        e.windowEnd = peak.endTime;
        e.area = Integrate(e.windowStart, e.windowEnd);
        if (!(e.area > 0.0))
            e.area = peak.area;
        const ComponentRecord* g = components.FindComponent(PickGroupPart(c->liquid.group, false));
        if (!g && !pentaneSeen) {
            entriesA.push_back(std::move(e));
            if (pentane && c == pentane)
                pentaneSeen = true;
            continue;
        }
        if (!(c->gas.boilingPoint < kLightBoilingLimit))
            continue; // left to the fractions
        bool joined = false;
        for (CondensateEntry& x : groups) {
            if (x.component != g)
                continue;
            x.area += e.area;
            x.groupPeaks.push_back(&peak);
            joined = true;
        }
        if (!joined && !pentaneSeen) {
            CondensateEntry& x = groups.emplace_back();
            x.component = g;
            x.name = g->displayName;
            x.groupPeaks.push_back(&peak);
            x.area = e.area;
            if (pentane && c == pentane)
                pentaneSeen = true;
        }
        // The group's own component gives the group its window.
        if (!groups.empty() && groups.back().component == c) {
            groups.back().windowStart = peak.beginTime;
            groups.back().windowEnd = peak.endTime;
        }
    }
    for (CondensateEntry& x : groups)
        MergeByWindowStart(entriesA, std::move(x));
    entriesB = entriesA;
    if (pentane)
        for (std::size_t i = 0; i < entriesA.size(); ++i)
            if (entriesA[i].component == pentane)
                pentaneIndex = static_cast<std::int32_t>(i);
}

void CondensateAnalysis::AddTemperatureFractions(const BoilingCalibration& cal,
                                                 const ComponentTable& components) {
    const double t45 = cal.ToRetentionTime(kLightBoilingLimit);
    double t = cal.ToTemperature(t45);
    if (IsNotSet(t))
        t = kLightBoilingLimit;
    const double c = 10.0 * std::trunc((t + 5.0) / 10.0);
    double lower = 45.0;
    if (c >= kLastFractionLimit)
        return;
    if (c >= 60.0)
        lower = c;
    double prevEnd = t45;
    while (lower < kLastFractionLimit) {
        const int d = static_cast<int>(std::trunc(lower));
        const int e = d < 60 ? 60 : d + 10;
        CondensateEntry& f = entriesA.emplace_back();
        f.name = StrPrintf("F%d-%d", d, e);
        f.component = components.FindComponent(f.name);
        f.isFraction = true;
        f.lowTemp = d;
        f.highTemp = e;
        f.windowStart = prevEnd;
        f.windowEnd = cal.ToRetentionTime(e);
        f.area = Integrate(f.windowStart, f.windowEnd);
        prevEnd = f.windowEnd;
        lower = e;
    }
}

void CondensateAnalysis::MoveToFraction(const cmpeek& q, const ComponentTable& components) {
    const ComponentRecord* c = components.FindComponent(q.name);
    if (!c)
        return;
    const ComponentRecord* target = components.FindComponent(PickGroupPart(c->liquid.group, true));
    if (!target)
        return;
    CondensateEntry* into = nullptr;
    std::vector<std::pair<CondensateEntry*, double>> shares;
    const double l = q.beginTime;
    const double m = q.endTime;
    for (CondensateEntry& f : entriesA) {
        if (!f.isFraction)
            continue;
        if (f.component == target)
            into = &f;
        if (!(f.windowStart >= 0.0))
            continue;
        const double g = f.windowStart;
        const double h = f.windowEnd;
        double share = NotSet;
        if (g <= l && m <= h)
            share = Integrate(l, m);
        else if (g > l && m > h && !IsNotSet(h))
            share = f.area;
        else if (l > g && h > l && m > h)
            share = Integrate(l, h);
        else if (g > l && m > g && h > m)
            share = Integrate(g, m);
        else if (IsNotSet(h) && m > g) {
            share = Integrate(std::max(l, g), m);
            f.windowEnd = m;
        } else
            continue;
        if (!IsNotSet(share))
            shares.emplace_back(&f, share);
    }
    if (!into)
        return;
    // Without the peak's own integral nothing can be moved; taking shares away alone would lose signal.
    const double own = Integrate(l, m);
    if (IsNotSet(own))
        return;
    for (const auto& [f, share] : shares)
        f->area -= share;
    into->area += own;
}

void CondensateAnalysis::AddCarbonNumberEntries(const ComponentTable& components) {
    for (const cmpeek& peak : chromatogram->peaks) {
        if (peak.name.find("н-") == std::string::npos)
            continue;
        const ComponentRecord* c = components.FindComponent(peak.name);
        if (!c || !(c->liquid.carbonNumber >= 6.0))
            continue;
        // The first section, with nothing marked before it, starts where the run starts.
        const double start = entriesB.empty() ? startTime : entriesB.back().windowEnd;
        CondensateEntry& e = entriesB.emplace_back();
        e.component = c;
        e.name = peak.name;
        e.windowStart = start;
        e.windowEnd = peak.endTime;
    }
}

} // namespace talvex
