#pragma once

#include "core/common/calc_inputs.h"
#include "core/common/not_set.h"
#include "core/components/component_record.h"
#include "core/section8/condensate_problems.h"

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace talvex {

class COpenedChmFile;
class ComponentTable;
class RetentionTimeTable;
struct ComponentRecord;
struct NormRange;
struct cmpeek;

// The degassed condensate (ДК): its FID runs are marked into components, groups and boiling fractions, the
// marked areas become mass fractions, the analyses are averaged and checked by the two operational controls.
// Times are in minutes, temperatures in °C, mass fractions in %; a missing number is NotSet.

inline constexpr std::int32_t kNoTemperature = std::numeric_limits<std::int32_t>::min();

// Boiling temperature against retention time, from the n-paraffins. Points keep the order they were added
// in; the conversions expect both vectors ascending.
struct BoilingCalibration {
    std::vector<double> temperatures;
    std::vector<double> retentionTimes;

    // Points from the run's own n-paraffin peaks, extended beyond the last of them by the liquid retention
    // times of the table (each accepted only past the previous accepted point).
    void BuildCalibration(const COpenedChmFile& run, const ComponentTable& components,
                          const RetentionTimeTable& retentionTimes);
    // Linear interpolation between the two bracketing points; NotSet outside the calibrated range.
    double ToRetentionTime(double temperature) const;
    double ToTemperature(double retentionTime) const;
    bool Empty() const { return temperatures.empty(); }
};

// A condensate chromatogram taken into the calculation.
struct CondensateRun {
    const COpenedChmFile* chromatogram = nullptr; // into the chromatogram list
    double step = NotSet;                         // minutes between samples
    double startTime = NotSet;                    // minutes
    double baselineLevel = NotSet;                // signal level of the first second, in the signal's units
    std::int32_t levelPoints = -1;                // samples in the first second

    // Takes the run and measures its baseline level. False (and the run taken all the same) when the
    // signal holds fewer samples than its first second needs: the level cannot be measured.
    bool AttachRun(const COpenedChmFile& run);
};

// One marked item of an analysis: a component, a group of components, a boiling fraction (method A) or a
// section closed by an n-paraffin (method B).
struct CondensateEntry {
    const ComponentRecord* component = nullptr;
    const cmpeek* peak = nullptr; // the peak of an individual component
    std::vector<const cmpeek*> groupPeaks;
    std::string name;
    bool isFraction = false;
    double retentionTime = NotSet;         // minutes; set for individual components only
    double windowStart = NotSet;           // minutes
    double windowEnd = NotSet;             // minutes
    std::int32_t lowTemp = kNoTemperature; // fraction limits, °C
    std::int32_t highTemp = kNoTemperature;
    double area = NotSet;           // of the blank-corrected signal over the window (signal × minutes)
    double massFraction = NotSet;   // mass %
    double responseFactor = NotSet; // the component's (or the fraction's) sensitivity coefficient
    double weightedArea = NotSet;   // area × responseFactor
};

enum class MarkingMethod { A, B }; // by boiling temperature / by carbon number

// One condensate sample analysis (also the analysis of the control sample).
struct CondensateAnalysis : CondensateRun {
    std::int32_t analysisNo = -1;
    std::vector<CondensateEntry> entriesA;
    std::vector<CondensateEntry> entriesB;
    std::int32_t pentaneIndex = -1; // n-pentane's entry in entriesA (and entriesB)
    double massSumA = 0.0;          // sum of the weighted areas of each list
    double massSumB = 0.0;
    double molarMassA = NotSet; // g/mol
    double molarMassB = NotSet;
    std::vector<double> corrected; // blank-corrected signal, never below 0
    // The corrected samples lie on the blank's time axis: sample i at i × sampleStep + sampleStart. Kept as
    // the axis, not as a vector of times, so that a long run costs one array, not two.
    double sampleStep = NotSet;
    double sampleStart = NotSet;
    BoilingCalibration ownCalibration;

    std::vector<CondensateEntry>& Entries(MarkingMethod m) {
        return m == MarkingMethod::A ? entriesA : entriesB;
    }
    const std::vector<CondensateEntry>& Entries(MarkingMethod m) const {
        return m == MarkingMethod::A ? entriesA : entriesB;
    }

    void SubtractBlank(const CondensateRun& blank);
    double SampleTime(std::size_t i) const { return static_cast<double>(i) * sampleStep + sampleStart; }
    // Area of the corrected signal between two times in minutes (trapezoid-like sum of the samples);
    // NotSet when a bound is missing (IsMissingTime), the bounds are reversed, or a bound lies past the
    // signal.
    double Integrate(double t1, double t2) const;

    // Marks the analysis by both methods and computes both compositions (when n-pentane is marked).
    void ProcessAnalysis(const CondensateRun& blank, const BoilingCalibration& calibration,
                         const ComponentTable& components, const RetentionTimeTable& retentionTimes,
                         CondensateProblems& problems);
    void MarkComponents(const ComponentTable& components);
    void AddTemperatureFractions(const BoilingCalibration& calibration, const ComponentTable& components);
    void MoveToFraction(const cmpeek& peak, const ComponentTable& components);
    void AddCarbonNumberEntries(const ComponentTable& components);

    // Mass fractions of one list: 0, or -1 when the list is empty or its weighted areas add up to nothing.
    int ComputeComposition(MarkingMethod method, CondensateProblems& problems);
};

// Average molar mass (g/mol) of the condensate from the entries' mass fractions; NotSet when it cannot be
// computed.
double ComputeMolarMass(const std::vector<CondensateEntry>& entries, CondensateProblems& problems);

// One result row of one marking method: the entries of that name across the analyses.
struct CondensateRow {
    std::string name;
    std::int32_t analysisCount = 1;
    std::map<std::int32_t, const CondensateEntry*> perAnalysis; // analysis number -> its entry
    double average = NotSet;                                    // mass %, over the analyses
    double minimum = std::numeric_limits<double>::max();
    double maximum = NotSet;
    double discrepancy = NotSet; // spread relative to the average, %
    bool repeatabilityOk = false;
    double accuracy = NotSet;             // the ± of the average, mass %
    const NormRange* normRange = nullptr; // nullptr: none; NoMatchingNorm(): none applies

    // The row's value for the unstable liquid (and its boiling curve): the average of two analyses or more,
    // else the mass fraction of the lowest analysis; NotSet without any entry.
    double ResultValue() const {
        if (analysisCount >= 2)
            return average;
        return perAnalysis.empty() ? NotSet : perAnalysis.begin()->second->massFraction;
    }

    const CondensateEntry* EntryFor(std::int32_t analysisNo) const {
        const auto it = perAnalysis.find(analysisNo);
        return it == perAnalysis.end() ? nullptr : it->second;
    }
};

// One compared component of a control: analysis 1 against the control sample (ОКП), or measured against
// certified (ОКЭ).
struct ControlItem {
    const ComponentRecord* component = nullptr;
    const NormRange* normRange = nullptr; // as in CondensateRow
    std::string name;
    const CondensateEntry* firstEntry = nullptr;
    const CondensateEntry* secondEntry = nullptr;
    double firstValue = NotSet;  // mass %: analysis 1 (ОКП), the measured value (ОКЭ)
    double secondValue = NotSet; // mass %: the control sample (ОКП), the certified value (ОКЭ)
    double discrepancy = NotSet; // |firstValue - secondValue|, mass %
    // mass %: ОКП the mean of both values × 0.84 × the reproducibility limit (%); ОКЭ the accuracy (%) of
    // the certified value. NotSet when no norm row with that limit applies, and then the item fails.
    double limit = NotSet;
    bool passed = false; // discrepancy <= limit
};

// Everything the condensate calculation leaves for the pages, the report and the unstable liquid. Rows and
// items point into the analyses and the control lists, entries into the chromatogram list and the
// component table: valid until the next reset, so the result is not copied.
struct CondensateResult {
    CondensateResult() = default;
    CondensateResult(const CondensateResult&) = delete;
    CondensateResult& operator=(const CondensateResult&) = delete;
    CondensateResult(CondensateResult&&) = default;
    CondensateResult& operator=(CondensateResult&&) = default;

    bool calculated = false; // CalcCondensate ran since the last reset

    CondensateRun blankRun;
    CondensateRun calibrationRun;
    BoilingCalibration mainCalibration;
    std::vector<CondensateAnalysis> analyses; // ascending analysisNo
    CondensateAnalysis okpAnalysis;           // the control sample (ОКП)
    const COpenedChmFile* okeRun = nullptr;   // the certified mixture (ОКЭ)

    std::vector<CondensateRow> rowsA;
    std::vector<CondensateRow> rowsB;
    double totalA = 0.0;
    double totalB = 0.0;
    double averageMolarMassA = NotSet;
    double averageMolarMassB = NotSet;
    std::vector<ControlItem> okpItemsA;
    std::vector<ControlItem> okpItemsB;
    std::vector<CondensateEntry> okeMeasured;
    std::vector<CondensateEntry> okeCertified;
    std::vector<ControlItem> okeItems;
    double okeWeightedSum = 0.0;

    CondensateProblems problems;

    // The memory of the last recalculation's blank-corrected signals, handed to the next one: a million
    // samples per analysis would otherwise be faulted in afresh at every keystroke on the degassing page.
    std::vector<std::vector<double>> spareSignals;

    std::vector<CondensateRow>& Rows(MarkingMethod m) { return m == MarkingMethod::A ? rowsA : rowsB; }
    const std::vector<CondensateRow>& Rows(MarkingMethod m) const {
        return m == MarkingMethod::A ? rowsA : rowsB;
    }
    std::vector<ControlItem>& OkpItems(MarkingMethod m) {
        return m == MarkingMethod::A ? okpItemsA : okpItemsB;
    }
    const std::vector<ControlItem>& OkpItems(MarkingMethod m) const {
        return m == MarkingMethod::A ? okpItemsA : okpItemsB;
    }
};

// Empties every result of the condensate calculation.
void ResetCondensate(CondensateResult& result);

// Computes the condensate results from the chromatogram list; findings go to the log. A run too short to
// measure its baseline level ends the calculation: the text for the operator goes to inputs.failure.
void CalcCondensate(CondensateResult& result, const CalcInputs& inputs);

// Statistics over the analyses and the two controls, in the order CalcCondensate runs them.
void BuildCondensateRows(CondensateResult& result);
void ComputeRowStatistics(CondensateResult& result);
// The limit of the control with a sample: 0.84 x the reproducibility limit (%) of the mean of the first
// analysis' value `a` and the control sample's value `b` (mass %).
double CondensateOkpLimit(double reproducibility, double a, double b);
// The limit of the control with a standard: the accuracy (%) of the certified value (mass %).
double CondensateOkeLimit(double delta, double certified);

void BuildOkpItems(CondensateResult& result);
void CheckOkp(CondensateResult& result);
void ComputeOke(CondensateResult& result, const ComponentTable& components, MessageLog& log);
void CheckOke(CondensateResult& result);

} // namespace talvex
