#pragma once

#include "core/chromatogram/opened_chm_file.h"
#include "core/components/component_table.h"
#include "core/section8/condensate.h"

#include <string>
#include <vector>

namespace talvex::testing {

// Small in-memory pieces for the condensate calculation: components with just the liquid values a test
// needs, and chromatograms whose signal and peak table are set by hand.
inline ComponentRecord& AddComponent(ComponentTable& table, const std::string& name, double boilingPoint,
                                     double fidFactor = NotSet, double molarMass = NotSet,
                                     double carbonNumber = NotSet, const std::string& group = "") {
    ComponentRecord& c = table.records.emplace_back();
    c.key = name;
    c.displayName = name;
    c.liquid.boilingPoint = boilingPoint;
    c.gas.boilingPoint = boilingPoint;
    c.liquid.fidFactor = fidFactor;
    c.liquid.molarMass = molarMass;
    c.liquid.carbonNumber = carbonNumber;
    c.liquid.group = group;
    return c;
}

inline NormRange Norm(double low, double high, double delta, double repeatability, double reproducibility) {
    NormRange n;
    n.low = low;
    n.high = high;
    n.delta = delta;
    n.repeatability = repeatability;
    n.reproducibility = reproducibility;
    return n;
}

inline COpenedChmFile MakeRun(std::vector<float> samples, double step, double startTime = 0.0) {
    COpenedChmFile c;
    c.signal.samples = std::move(samples);
    c.signal.step = step;
    c.signal.startTime = startTime;
    c.medium = COpenedChmFile::kCondensate;
    c.detector = COpenedChmFile::kFid;
    return c;
}

inline cmpeek& AddPeak(COpenedChmFile& run, const std::string& name, double begin, double end, double apex,
                       double area) {
    cmpeek& p = run.peaks.emplace_back();
    p.name = name;
    p.beginTime = begin;
    p.endTime = end;
    p.retentionTime = apex;
    p.area = area;
    p.index = static_cast<std::int32_t>(run.peaks.size() - 1);
    return p;
}

// An entry of a composition fixture.
inline CondensateEntry Entry(const ComponentRecord* component, const std::string& name, double area,
                             bool isFraction = false) {
    CondensateEntry e;
    e.component = component;
    e.name = name;
    e.area = area;
    e.isFraction = isFraction;
    return e;
}

} // namespace talvex::testing
