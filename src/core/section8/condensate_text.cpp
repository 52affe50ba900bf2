#include "core/section8/condensate_text.h"

#include "core/components/component_record.h"

namespace talvex {
namespace {

const CondensateAnalysis* FindAnalysis(const CondensateResult& result, std::int32_t analysisNo) {
    for (const CondensateAnalysis& a : result.analyses)
        if (a.analysisNo == analysisNo)
            return &a;
    return nullptr;
}

} // namespace

std::string MassFractionText(const CondensateEntry* entry, int decimals, ValueFormatter format) {
    return entry ? format(entry->massFraction, decimals) : "---";
}

std::string RepeatabilityText(const CondensateRow& row, int decimals, ValueFormatter format) {
    return IsRealNorm(row.normRange) ? format(row.normRange->repeatability, decimals) : "---";
}

std::string RepeatabilityVerdict(const CondensateRow& row) {
    if (!IsRealNorm(row.normRange))
        return "---";
    return row.repeatabilityOk ? "Да" : "Нет";
}

std::string ControlVerdict(const ControlItem& item) {
    if (!(item.discrepancy >= 0.0 && item.limit >= 0.0))
        return "---";
    return item.passed ? "Да" : "Нет";
}

bool IsOkeMemberLine(const ControlItem& item) {
    return (item.firstEntry || item.secondEntry) && item.component &&
           item.component->liquid.boilingPoint >= 45.0;
}

double AnalysisMassSum(const CondensateResult& result, std::int32_t analysisNo, MarkingMethod method) {
    const CondensateAnalysis* a = FindAnalysis(result, analysisNo);
    if (!a)
        return NotSet;
    return method == MarkingMethod::A ? a->massSumA : a->massSumB;
}

double AnalysisMolarMass(const CondensateResult& result, std::int32_t analysisNo, MarkingMethod method) {
    const CondensateAnalysis* a = FindAnalysis(result, analysisNo);
    if (!a)
        return NotSet;
    return method == MarkingMethod::A ? a->molarMassA : a->molarMassB;
}

double MethodTotal(const CondensateResult& result, MarkingMethod method) {
    return method == MarkingMethod::A ? result.totalA : result.totalB;
}

double MethodAverageMolarMass(const CondensateResult& result, MarkingMethod method) {
    return method == MarkingMethod::A ? result.averageMolarMassA : result.averageMolarMassB;
}

} // namespace talvex
