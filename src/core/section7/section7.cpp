#include "core/section7/section7.h"

#include "core/messages/message_log.h"
#include "core/section7/air_correction.h"
#include "core/section7/assembly.h"
#include "core/section7/blank_correction.h"
#include "core/section7/calibration.h"
#include "core/section7/component_issues.h"
#include "core/section7/composition.h"
#include "core/section7/controls.h"
#include "core/section7/detector_slot.h"
#include "core/section7/gas_messages.h"
#include "core/section7/gas_properties.h"
#include "core/section7/mass_fractions.h"
#include "core/section7/statistics.h"

namespace talvex {
namespace {

// The air shares must add up to 100 % within this tolerance below.
constexpr double kAirSharesLow = 99.5;
constexpr double kAirSharesHigh = 100.0;

void CheckAirShares(const CSettings& s, MessageLog& log) {
    if (s.Sect7_CorrectO2 <= 0)
        return;
    const double sum = s.Sect7_ConcO2 + s.Sect7_ConcN2 + s.Sect7_ConcCO2;
    if (sum < kAirSharesLow || sum > kAirSharesHigh)
        log.PostText(kMsgWarning,
                     "Сумма концентраций компонентов воздуха введенных для коррекции не равна 100%.\r\n\t" +
                         AirFormulaReference("7.8"));
}

void ComputeAnalysis(GasAnalysis& a, const DetectorSlot& blank, GasContext& ctx) {
    for (DetectorSlot* slot : {&a.fid, &a.tcd1, &a.tcd2})
        LoadPeakEntries(*slot, ctx.components, ctx.log);
    JoinTcd(a, ctx.log);
    ComputeMassFractions(a, a.tcdLines, kTcdList, ctx);
    Calibrate(a, ctx.components, ctx.retentionTimes, ctx.log);
    CorrectBlank(a, blank, ctx.log);
    BuildFidCompositions(a, ctx);
    for (int c = 0; c < kCompositions; ++c) {
        GasProperties& p = a.properties[static_cast<std::size_t>(c)];
        p = ComputeProperties(a.Lines(c), ctx.issues);
        if (IsNotSet(p.molarMass))
            PostAnalysisText(ctx.log, kMsgError, a.number, PropertiesNotComputedText(c));
    }
}

} // namespace

void ResetSection7(Section7Result& result) {
    result.calculated = false;
    result.analyses.clear();
    ClearSlot(result.blankSlot);
    result.controlSample = GasAnalysis{};
    result.controlStandard = GasAnalysis{};
    for (auto& rows : result.rows)
        rows.clear();
    result.totals = {0.0, 0.0};
    result.averagedProperties = {};
    for (auto& rows : result.controlSampleRows)
        rows.clear();
    result.controlStandardRows.clear();
    result.issues.clear();
}

void CalcSection7(Section7Result& result, const CalcInputs& inputs) {
    result.calculated = true;
    if (inputs.chromatograms.empty())
        return;
    RegisterSection7Messages(inputs.log);
    GasContext ctx{inputs.components, inputs.retentionTimes, inputs.log, {}, result.issues};
    ctx.settings = inputs.settings;
    CheckAirShares(ctx.settings, inputs.log);

    AssembleAnalyses(result, inputs.chromatograms);
    for (GasAnalysis& a : result.analyses)
        ComputeAnalysis(a, result.blankSlot, ctx);
    BuildRows(result);
    AverageRows(result, inputs.log);
    RunControls(result, ctx);
    // The gas page builds its tables from the result on demand (GasPageGrid), so nothing is filled here.
    ReportIssues(result.issues, inputs.log);
}

} // namespace talvex
