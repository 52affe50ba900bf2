#include "core/section8/fraction_windows.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/not_set.h"
#include "core/section8/condensate.h"

namespace talvex {
namespace {

bool IsRun(const CondensateAnalysis& analysis, std::int32_t fileId) {
    return analysis.chromatogram != nullptr && analysis.chromatogram->fileId == fileId;
}

std::vector<FractionWindow> Windows(const CondensateAnalysis& analysis) {
    std::vector<FractionWindow> windows;
    for (const CondensateEntry& entry : analysis.entriesA)
        if (entry.isFraction && !IsNotSet(entry.windowStart) && !IsNotSet(entry.windowEnd))
            windows.push_back({entry.name, entry.windowStart, entry.windowEnd});
    return windows;
}

} // namespace

std::vector<FractionWindow> MethodAFractionWindows(const CondensateResult& result, std::int32_t fileId) {
    if (!result.calculated || fileId < 0)
        return {};
    for (const CondensateAnalysis& analysis : result.analyses)
        if (IsRun(analysis, fileId))
            return Windows(analysis);
    if (IsRun(result.okpAnalysis, fileId))
        return Windows(result.okpAnalysis);
    return {};
}

} // namespace talvex
