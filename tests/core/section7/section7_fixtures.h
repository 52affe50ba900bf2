#pragma once

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/settings.h"
#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"
#include "core/section7/gas_context.h"
#include "core/section7/gas_messages.h"

#include <string>
#include <vector>

namespace talvex::testing {

// A component of the gas block with what the degassing-gas calculation reads.
inline ComponentRecord GasComponent(const std::string& key, double boilingPoint, double molarMass,
                                    double fidFactor, double tcdFactor, double carbonNumber,
                                    const std::string& group = "") {
    ComponentRecord r;
    r.key = key;
    r.displayName = key;
    r.gas.boilingPoint = boilingPoint;
    r.gas.molarMass = molarMass;
    r.gas.fidFactor = fidFactor;
    r.gas.tcdFactor = tcdFactor;
    r.gas.carbonNumber = carbonNumber;
    r.gas.group = group;
    return r;
}

inline cmpeek Peak(const std::string& name, double area, double rt, double begin, double end) {
    cmpeek p;
    p.name = name;
    p.area = area;
    p.retentionTime = rt;
    p.beginTime = begin;
    p.endTime = end;
    return p;
}

// A classified chromatogram of the list, built in memory: peaks as the reader would have computed them.
inline COpenedChmFile Chromatogram(std::int32_t detector, std::int32_t role, std::int32_t analysisNo,
                                   std::vector<cmpeek> peaks = {}, std::vector<float> samples = {0, 0},
                                   double step = 0.25, std::int32_t fileId = 0) {
    COpenedChmFile c;
    c.detector = detector;
    c.role = role;
    c.medium = COpenedChmFile::kGas;
    c.analysisNo = analysisNo;
    c.fileId = fileId;
    c.signal.samples = std::move(samples);
    c.signal.step = step;
    c.signal.startTime = 0.0;
    for (cmpeek& p : peaks)
        c.peaks.push_back(std::move(p));
    return c;
}

// Everything a degassing-gas operation needs, in memory; registers the message types.
struct GasWorld {
    ComponentTable components;
    RetentionTimeTable retentionTimes;
    MessageLog log;
    MemorySettingsStore profile;
    std::vector<ComponentIssues> issues;

    GasWorld() { RegisterSection7Messages(log); }

    GasContext Context() {
        GasContext ctx{components, retentionTimes, log, {}, issues};
        ctx.settings.Load(profile);
        return ctx;
    }
    const ComponentRecord* Find(const std::string& name) const { return components.FindComponent(name); }

    // Errors, warnings and information texts after rendering the typed messages.
    std::vector<std::string> Texts(std::int32_t kind) {
        log.Refresh();
        return log.Texts(kind);
    }
};

} // namespace talvex::testing
