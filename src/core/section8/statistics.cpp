// Result rows over the condensate analyses: averages, spread and repeatability.
#include "core/common/case_fold.h"
#include "core/components/component_record.h"
#include "core/section8/condensate.h"

namespace talvex {

namespace {

CondensateRow& AppendRow(std::vector<CondensateRow>& rows, std::int32_t analysisNo,
                         const CondensateEntry& e) {
    CondensateRow& row = rows.emplace_back();
    row.name = e.name;
    row.perAnalysis[analysisNo] = &e;
    return row;
}

void BuildRows(const std::vector<CondensateAnalysis>& analyses, MarkingMethod method,
               std::vector<CondensateRow>& rows) {
    if (analyses.empty())
        return;
    for (const CondensateEntry& e : analyses.front().Entries(method))
        AppendRow(rows, 0, e);
    if (analyses.size() < 2)
        return;
    for (const CondensateAnalysis& a : analyses) {
        if (a.analysisNo == 0)
            continue;
        for (const CondensateEntry& e : a.Entries(method)) {
            CondensateRow* found = nullptr;
            for (CondensateRow& r : rows)
                if (EqualsIgnoringCase(r.name, e.name)) {
                    found = &r;
                    break;
                }
            if (!found) {
                AppendRow(rows, a.analysisNo, e);
                continue;
            }
            found->perAnalysis.emplace(a.analysisNo, &e); // the first merged entry stays
            ++found->analysisCount;
        }
    }
}

void RowStatistics(std::vector<CondensateRow>& rows, std::int32_t n, CondensateProblems& problems,
                   double& total, double& averageMolarMass) {
    double s = 0.0;
    for (CondensateRow& r : rows) {
        const CondensateEntry* lowest = r.perAnalysis.empty() ? nullptr : r.perAnalysis.begin()->second;
        const ComponentRecord* c = lowest ? lowest->component : nullptr;
        if (r.analysisCount < n)
            problems.Problem(r.name).notInAllAnalyses = true;
        r.average = 0.0;
        for (const auto& [no, e] : r.perAnalysis) {
            const double v = e->massFraction;
            if (!(v >= 0.0))
                continue;
            r.average += v;
            if (v < r.minimum)
                r.minimum = v;
            if (v > r.maximum)
                r.maximum = v;
        }
        if (r.average <= 0.0) {
            r.average = NotSet;
            continue;
        }
        // Divided by the entries merged, not by the values found: a missing value counts as nothing.
        r.average = r.average / r.analysisCount;
        total += r.average;
        if (!c || IsNotSet(lowest->responseFactor))
            continue;
        const double m = c->liquid.molarMass;
        if (!IsNotSet(m) && m != 0.0)
            s += r.average / m;
        if (c->liquidNorms.empty()) {
            r.normRange = nullptr;
            continue;
        }
        const NormRange* range = FirstApplicableNorm(c->liquidNorms, r.average);
        if (!range) {
            r.normRange = NoMatchingNorm();
            problems.Problem(r.name).outOfRange = true;
            continue;
        }
        r.normRange = range;
        if (r.analysisCount == n) {
            r.discrepancy = (r.maximum - r.minimum) / r.average * 100.0;
            r.repeatabilityOk = range->repeatability >= r.discrepancy;
            // A norm row without an accuracy leaves the ± missing rather than some -1e306.
            if (!IsNotSet(range->delta))
                r.accuracy = range->delta * 0.01 * r.average;
        }
    }
    averageMolarMass = s > 0.0 ? 100.0 / s : NotSet;
}

} // namespace

void BuildCondensateRows(CondensateResult& result) {
    BuildRows(result.analyses, MarkingMethod::A, result.rowsA);
    BuildRows(result.analyses, MarkingMethod::B, result.rowsB);
}

void ComputeRowStatistics(CondensateResult& result) {
    const auto n = static_cast<std::int32_t>(result.analyses.size());
    if (n < 2)
        return;
    RowStatistics(result.rowsA, n, result.problems, result.totalA, result.averageMolarMassA);
    RowStatistics(result.rowsB, n, result.problems, result.totalB, result.averageMolarMassB);
}

} // namespace talvex
