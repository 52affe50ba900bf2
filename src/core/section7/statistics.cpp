#include "core/section7/statistics.h"

#include "core/common/case_fold.h"
#include "core/messages/message_log.h"
#include "core/section7/component_issues.h"
#include "core/section7/gas_properties.h"

#include <algorithm>

namespace talvex {

const NormRange* FindNorm(const ComponentRecord* component, double v) {
    if (!component || component->gasNorms.empty())
        return nullptr;
    const NormRange* norm = FirstApplicableNorm(component->gasNorms, v);
    return norm ? norm : NoMatchingNorm();
}

void BuildRows(Section7Result& result) {
    if (result.analyses.empty())
        return;
    const GasAnalysis& first = result.analyses.front();
    for (int c = 0; c < kCompositions; ++c) {
        std::vector<GasRow>& rows = result.rows[static_cast<std::size_t>(c)];
        for (const GasLine& line : first.Lines(c)) {
            GasRow& row = rows.emplace_back();
            row.name = line.name;
            row.lines[first.number] = &line;
        }
        for (std::size_t i = 1; i < result.analyses.size(); ++i) {
            const GasAnalysis& a = result.analyses[i];
            for (const GasLine& line : a.Lines(c)) {
                auto row = std::find_if(rows.begin(), rows.end(), [&](const GasRow& r) {
                    return EqualsIgnoringCase(r.name, line.name);
                });
                if (row != rows.end()) {
                    row->lines.try_emplace(a.number, &line);
                    ++row->count;
                } else {
                    GasRow& added = rows.emplace_back();
                    added.name = line.name;
                    added.lines[a.number] = &line;
                }
            }
        }
    }
}

namespace {

// Averages one row; returns average / molar mass of its component for the averaged gas, or 0.
double AverageRow(GasRow& row, std::int32_t n, double& total, std::vector<ComponentIssues>& issues) {
    if (row.count < n)
        IssuesOf(issues, row.name).notInAllAnalyses = true;
    double sum = 0.0;
    for (const auto& [number, line] : row.lines) {
        const double v = line->massFraction;
        if (!(v >= 0))
            continue;
        sum = sum + v;
        if (v < row.minimum)
            row.minimum = v;
        if (v > row.maximum)
            row.maximum = v;
    }
    if (sum <= 0) {
        row.average = NotSet;
        return 0.0;
    }
    row.average = sum / row.count;
    total += row.average;
    const ComponentRecord* component = row.lines.begin()->second->component;
    if (!component)
        return 0.0;
    double share = 0.0;
    if (component->gas.molarMass > 0)
        share = row.average / component->gas.molarMass;
    row.norm = FindNorm(component, row.average);
    if (row.norm == NoMatchingNorm())
        IssuesOf(issues, row.name).rangeMismatch = true;
    else if (IsRealNorm(row.norm) && row.count == n) {
        row.discrepancy = (row.maximum - row.minimum) / row.average * 100;
        row.withinLimit = row.discrepancy <= row.norm->repeatability;
        row.deltaAbs = row.norm->delta * 0.01 * row.average;
    }
    return share;
}

} // namespace

void AverageRows(Section7Result& result, MessageLog& log) {
    const auto n = static_cast<std::int32_t>(result.analyses.size());
    if (n == 0)
        return;
    if (n == 1) {
        result.averagedProperties = result.analyses.front().properties;
        return;
    }
    for (int c = 0; c < kCompositions; ++c) {
        const auto k = static_cast<std::size_t>(c);
        double S = 0.0;
        for (GasRow& row : result.rows[k])
            S += AverageRow(row, n, result.totals[k], result.issues);
        result.averagedProperties[k] = PropertiesFromSum(S);
        if (IsNotSet(result.averagedProperties[k].molarMass))
            log.PostText(kMsgError, "Среднее значение.\r\n\t" + PropertiesNotComputedText(c));
    }
}

} // namespace talvex
