#include "core/section7/assembly.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/case_fold.h"
#include "core/common/format.h"
#include "core/messages/message_log.h"
#include "core/section7/detector_slot.h"

#include <algorithm>

namespace talvex {
namespace {

DetectorSlot* SlotFor(GasAnalysis& analysis, std::int32_t detector) {
    switch (detector) {
    case COpenedChmFile::kFid:
        return &analysis.fid;
    case COpenedChmFile::kTcd1:
        return &analysis.tcd1;
    case COpenedChmFile::kTcd2:
        return &analysis.tcd2;
    default:
        return nullptr;
    }
}

void PutIntoControl(GasAnalysis& control, const COpenedChmFile& c) {
    if (DetectorSlot* slot = SlotFor(control, c.detector)) {
        SetSlot(*slot, c);
        if (c.detector == COpenedChmFile::kFid)
            control.number = c.analysisNo;
    }
}

// The last entry of the slot whose component has this key.
const PeakEntry* LastEntryWithKey(const DetectorSlot& slot, std::string_view key) {
    const PeakEntry* found = nullptr;
    for (const PeakEntry& e : slot.entries)
        if (e.component && EqualsIgnoringCase(e.component->key, key))
            found = &e;
    return found;
}

// TCD-1 area / TCD-2 area of the component, or NotSet when either run lacks it.
double AreaRatio(const GasAnalysis& analysis, std::string_view key) {
    const PeakEntry* one = LastEntryWithKey(analysis.tcd1, key);
    const PeakEntry* two = LastEntryWithKey(analysis.tcd2, key);
    // A component missing from a run, or with no area there, gives no scale.
    if (!one || !two || !(two->area > 0.0))
        return NotSet;
    return one->area / two->area;
}

GasLine TcdLine(const PeakEntry& e, double area) {
    GasLine line;
    line.component = e.component;
    line.name = e.name;
    line.detector = kTcdLine;
    line.area = area;
    return line;
}

} // namespace

void AssembleAnalyses(Section7Result& result, const std::vector<COpenedChmFile>& chromatograms) {
    for (const COpenedChmFile& c : chromatograms) {
        if (c.role == COpenedChmFile::kSample && c.detector == COpenedChmFile::kFid &&
            c.medium == COpenedChmFile::kGas) {
            GasAnalysis& a = result.analyses.emplace_back();
            a.number = c.analysisNo;
            SetSlot(a.fid, c);
        }
    }
    for (const COpenedChmFile& c : chromatograms) {
        if (c.medium != COpenedChmFile::kGas)
            continue;
        switch (c.role) {
        case COpenedChmFile::kSample:
            if (c.analysisNo >= 0)
                for (GasAnalysis& a : result.analyses)
                    if (a.number == c.analysisNo)
                        if (DetectorSlot* slot = SlotFor(a, c.detector))
                            SetSlot(*slot, c);
            break;
        case COpenedChmFile::kControlSample:
            PutIntoControl(result.controlSample, c);
            break;
        case COpenedChmFile::kControlStandard:
            PutIntoControl(result.controlStandard, c);
            break;
        case COpenedChmFile::kBlank:
            if (c.detector == COpenedChmFile::kFid)
                SetSlot(result.blankSlot, c);
            break;
        default:
            break;
        }
    }
    std::stable_sort(result.analyses.begin(), result.analyses.end(),
                     [](const GasAnalysis& a, const GasAnalysis& b) { return a.number < b.number; });
}

void JoinTcd(GasAnalysis& analysis, MessageLog& log) {
    if (!analysis.tcd1.chromatogram || !analysis.tcd2.chromatogram)
        return;
    const double r1 = AreaRatio(analysis, "Метан");
    const double r2 = AreaRatio(analysis, "Этан");
    if (!IsNotSet(r1) && !IsNotSet(r2))
        analysis.tcdJoinFactor = (r1 + r2) / 2;
    else if (!IsNotSet(r1))
        analysis.tcdJoinFactor = r1;
    else if (!IsNotSet(r2))
        analysis.tcdJoinFactor = r2;
    else
        log.PostText(kMsgWarning, StrPrintf("Анализ-%d, не найдены компоненты для сшивки ДТП1 и ДТП2.",
                                            analysis.number + 1));

    analysis.tcdLines.clear();
    for (const PeakEntry& e : analysis.tcd1.entries)
        analysis.tcdLines.push_back(TcdLine(e, e.area));
    if (IsNotSet(analysis.tcdJoinFactor))
        return;
    for (const PeakEntry& e : analysis.tcd2.entries) {
        const bool known = std::any_of(analysis.tcdLines.begin(), analysis.tcdLines.end(),
                                       [&](const GasLine& l) { return EqualsIgnoringCase(l.name, e.name); });
        if (!known)
            analysis.tcdLines.push_back(TcdLine(e, e.area * analysis.tcdJoinFactor));
    }
}

} // namespace talvex
