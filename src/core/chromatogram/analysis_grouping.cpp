#include "core/chromatogram/analysis_grouping.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

namespace talvex {
namespace {

// TCD runs of one analysis are started together with its FID run, give or take the data system's lag.
constexpr std::uint64_t kSameAnalysisSeconds = 9;

bool WithinSameAnalysis(std::int64_t a, std::int64_t b) {
    if (a > b)
        std::swap(a, b);
    // Unsigned, so that extreme times cannot overflow the difference.
    return static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a) <= kSameAnalysisSeconds;
}

// The order typeCode + 10 x (analysisNo + 1) gives, written as a tuple so that an analysis number of 99 or
// more cannot spill into the next role's thousands.
auto SortKey(const COpenedChmFile& c) {
    return std::make_tuple(c.typeCode / 1000, c.analysisNo + 1, c.typeCode % 1000, c.passport.analysisTime);
}

void SortList(ChromatogramList& list) {
    std::stable_sort(list.begin(), list.end(), [](const COpenedChmFile& a, const COpenedChmFile& b) {
        return SortKey(a) < SortKey(b);
    });
}

} // namespace

void GroupAnalyses(ChromatogramList& list) {
    for (COpenedChmFile& c : list)
        c.analysisNo = -1;
    SortList(list);

    std::int32_t counters[2] = {0, 0}; // gas, condensate
    for (COpenedChmFile& p : list) {
        if (p.role != COpenedChmFile::kSample || p.detector != COpenedChmFile::kFid)
            continue;
        if (p.medium != COpenedChmFile::kGas && p.medium != COpenedChmFile::kCondensate)
            continue;
        std::int32_t& counter = counters[p.medium - COpenedChmFile::kGas];
        p.analysisNo = counter++;
        for (COpenedChmFile& q : list)
            if (q.role == COpenedChmFile::kSample && q.detector != COpenedChmFile::kFid &&
                q.medium == p.medium && WithinSameAnalysis(q.passport.analysisTime, p.passport.analysisTime))
                q.analysisNo = p.analysisNo;
    }
    SortList(list);
}

} // namespace talvex
