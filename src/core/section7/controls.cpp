#include "core/section7/controls.h"

#include "core/common/case_fold.h"
#include "core/section7/air_correction.h"
#include "core/section7/assembly.h"
#include "core/section7/blank_correction.h"
#include "core/section7/calibration.h"
#include "core/section7/component_issues.h"
#include "core/section7/composition.h"
#include "core/section7/detector_slot.h"
#include "core/section7/mass_fractions.h"
#include "core/section7/statistics.h"

#include <algorithm>
#include <cmath>

namespace talvex {
namespace {

void LoadSlotsAndJoinTcd(GasAnalysis& control, GasContext& ctx) {
    for (DetectorSlot* slot : {&control.fid, &control.tcd1, &control.tcd2})
        LoadPeakEntries(*slot, ctx.components, ctx.log);
    JoinTcd(control, ctx.log);
    ComputeMassFractions(control, control.tcdLines, kTcdList, ctx);
}

void ComputeControlSample(Section7Result& result, GasContext& ctx) {
    GasAnalysis& control = result.controlSample;
    LoadSlotsAndJoinTcd(control, ctx);
    CorrectBlank(control, result.blankSlot, ctx.log);
    Calibrate(control, ctx.components, ctx.retentionTimes, ctx.log);
    BuildFidCompositions(control, ctx);
}

// The certified mixture is measured as it is: one line per FID peak, no blank, calibration or fractions.
void ComputeControlStandard(Section7Result& result, GasContext& ctx) {
    GasAnalysis& control = result.controlStandard;
    LoadSlotsAndJoinTcd(control, ctx);
    for (const PeakEntry& e : control.fid.entries) {
        GasLine line;
        line.component = e.component;
        line.name = e.name;
        line.area = e.area;
        line.detector = kFidLine;
        line.sourceEntry = &e;
        control.componentLines.push_back(std::move(line));
    }
    ComputeMassFractions(control, control.componentLines, kComponentComposition, ctx);
    JoinFidTcd(control, ctx);
    CorrectAir(control, control.componentLines, ctx);
    CorrectAir(control, control.fractionLines, ctx);
}

} // namespace

double ControlSampleLimit(double reproducibility, double measured, double reference) {
    return reproducibility * 0.84 / 100 * (measured + reference) * 0.5;
}

double ControlStandardLimit(double delta, double reference) {
    return delta * 0.01 * reference;
}

void CompareControlSample(Section7Result& result) {
    for (int c = 0; c < kCompositions; ++c) {
        std::vector<GasControlRow>& rows = result.controlSampleRows[static_cast<std::size_t>(c)];
        for (const GasLine& line : result.controlSample.Lines(c)) {
            GasControlRow& row = rows.emplace_back();
            row.component = line.component;
            row.name = line.name;
            row.measured = line.massFraction;
            // A line without a mass fraction lies in no range; CheckControlSample reports it.
            if (!IsNotSet(row.measured))
                row.norm = FindNorm(line.component, row.measured);
            if (row.norm == NoMatchingNorm())
                IssuesOf(result.issues, row.name).rangeMismatchOkp = true;
        }
        if (result.analyses.empty())
            continue;
        for (const GasLine& line : result.analyses.front().Lines(c)) {
            auto row = std::find_if(rows.begin(), rows.end(), [&](const GasControlRow& r) {
                return EqualsIgnoringCase(r.name, line.name);
            });
            if (row != rows.end()) {
                row->reference = line.massFraction;
                continue;
            }
            GasControlRow& added = rows.emplace_back();
            added.component = line.component;
            added.name = line.name;
            added.reference = line.massFraction;
        }
    }
}

void CheckControlSample(Section7Result& result) {
    for (auto& rows : result.controlSampleRows) {
        for (GasControlRow& row : rows) {
            if (IsNotSet(row.measured) || IsNotSet(row.reference)) {
                IssuesOf(result.issues, row.name).notInBothSamples = true;
                continue;
            }
            row.Kk = std::fabs(row.measured - row.reference);
            if (IsRealNorm(row.norm)) {
                row.K = ControlSampleLimit(row.norm->reproducibility, row.measured, row.reference);
                row.withinLimit = row.Kk <= row.K;
            }
        }
    }
}

void CompareControlStandard(Section7Result& result) {
    for (const GasLine& line : result.controlStandard.componentLines) {
        GasControlRow& row = result.controlStandardRows.emplace_back();
        row.component = line.component;
        row.name = line.name;
        row.measured = line.massFraction;
        row.reference = line.component ? line.component->gas.certifiedValue : NotSet;
        if (!line.component || IsNotSet(row.reference)) {
            IssuesOf(result.issues, row.name).notInPassport = true;
            continue;
        }
        // A peak without a mass fraction (its component issue says why) has nothing to compare.
        if (IsNotSet(row.measured))
            continue;
        row.norm = FindNorm(line.component, row.measured);
        row.Kk = std::fabs(row.measured - row.reference);
        if (row.norm == NoMatchingNorm())
            IssuesOf(result.issues, row.name).rangeMismatchOke = true;
        else if (IsRealNorm(row.norm)) {
            row.K = ControlStandardLimit(row.norm->delta, row.reference);
            row.withinLimit = row.Kk <= row.K;
        }
    }
}

void RunControls(Section7Result& result, GasContext& ctx) {
    if (result.controlSample.fid.chromatogram && !result.rows[kComponentComposition].empty()) {
        ComputeControlSample(result, ctx);
        CompareControlSample(result);
        CheckControlSample(result);
    }
    if (result.controlStandard.fid.chromatogram) {
        ComputeControlStandard(result, ctx);
        CompareControlStandard(result);
    }
}

} // namespace talvex
