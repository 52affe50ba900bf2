#include "core/section8/condensate.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/format.h"
#include "core/messages/message_log.h"

#include <algorithm>

namespace talvex {
namespace {

// Takes the condensate runs of the list: sample analyses, and the last blank, calibration and control runs.
// Returns the first run too short to measure its baseline level, or null.
const COpenedChmFile* TakeRuns(CondensateResult& result, const std::vector<COpenedChmFile>& list) {
    const COpenedChmFile* tooShort = nullptr;
    const auto attach = [&](CondensateRun& run, const COpenedChmFile& c) {
        if (!run.AttachRun(c) && !tooShort)
            tooShort = &c;
    };
    for (const COpenedChmFile& c : list) {
        if (c.medium != COpenedChmFile::kCondensate)
            continue;
        switch (c.role) {
        case COpenedChmFile::kSample:
            if (c.analysisNo >= 0) {
                CondensateAnalysis& a = result.analyses.emplace_back();
                attach(a, c);
                a.analysisNo = c.analysisNo;
            }
            break;
        case COpenedChmFile::kBlank:
            if (c.detector == COpenedChmFile::kFid)
                attach(result.blankRun, c);
            break;
        case COpenedChmFile::kCalibration:
            attach(result.calibrationRun, c);
            break;
        case COpenedChmFile::kControlSample:
            attach(result.okpAnalysis, c);
            break;
        case COpenedChmFile::kControlStandard:
            result.okeRun = &c;
            break;
        default:
            break;
        }
    }
    std::stable_sort(
        result.analyses.begin(), result.analyses.end(),
        [](const CondensateAnalysis& a, const CondensateAnalysis& b) { return a.analysisNo < b.analysisNo; });
    return tooShort;
}

// A buffer for a corrected signal, from the memory the last recalculation left.
void LendSpareSignal(CondensateResult& result, CondensateAnalysis& analysis) {
    if (result.spareSignals.empty())
        return;
    analysis.corrected = std::move(result.spareSignals.back());
    result.spareSignals.pop_back();
}

} // namespace

void ResetCondensate(CondensateResult& result) {
    std::vector<std::vector<double>> spare = std::move(result.spareSignals);
    for (CondensateAnalysis& a : result.analyses)
        if (a.corrected.capacity() > 0)
            spare.push_back(std::move(a.corrected));
    if (result.okpAnalysis.corrected.capacity() > 0)
        spare.push_back(std::move(result.okpAnalysis.corrected));
    result = CondensateResult{};
    result.spareSignals = std::move(spare);
}

void CalcCondensate(CondensateResult& result, const CalcInputs& inputs) {
    result.calculated = true;
    if (inputs.chromatograms.empty())
        return;
    if (const COpenedChmFile* run = TakeRuns(result, inputs.chromatograms)) {
        // Its first second cannot be measured, so neither can the level every area is corrected by.
        const std::string text = StrPrintf("Хроматограмма \"%s\" (%s) короче одной секунды: расчет "
                                           "дегазированного конденсата невозможен.",
                                           run->GetFileName().c_str(), run->passport.sampleName.c_str());
        ResetCondensate(result);
        result.calculated = true;
        inputs.log.PostText(kMsgError, text);
        if (inputs.failure.empty())
            inputs.failure = text;
        return;
    }
    if (result.blankRun.chromatogram) {
        if (result.calibrationRun.chromatogram)
            result.mainCalibration.BuildCalibration(*result.calibrationRun.chromatogram, inputs.components,
                                                    inputs.retentionTimes);
        if (!result.analyses.empty()) {
            for (CondensateAnalysis& a : result.analyses) {
                LendSpareSignal(result, a);
                a.ProcessAnalysis(result.blankRun, result.mainCalibration, inputs.components,
                                  inputs.retentionTimes, result.problems);
            }
            BuildCondensateRows(result);
            ComputeRowStatistics(result);
            LendSpareSignal(result, result.okpAnalysis);
            result.okpAnalysis.ProcessAnalysis(result.blankRun, result.mainCalibration, inputs.components,
                                               inputs.retentionTimes, result.problems);
            BuildOkpItems(result);
            CheckOkp(result);
        }
    }
    if (result.okeRun) {
        ComputeOke(result, inputs.components, inputs.log);
        CheckOke(result);
    }
    result.problems.PostProblemMessages(inputs.log);
}

} // namespace talvex
