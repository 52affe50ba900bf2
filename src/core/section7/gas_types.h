#pragma once

#include "core/common/not_set.h"
#include "core/components/component_record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace talvex {

class COpenedChmFile;

// One named peak of a chromatogram as the degassing-gas calculation uses it.
struct PeakEntry {
    const COpenedChmFile* chromatogram = nullptr;
    const ComponentRecord* component = nullptr; // null when the database does not know the name
    std::string name;
    // The reader's area, always positive (a negative peak counts by its size). For an FID peak the
    // composition recomputes the area on the blank-corrected signal between beginTime and endTime; this one
    // is only the fallback when that gives nothing. A TCD peak's area is used as it is.
    double area = NotSet;
    double retentionTime = NotSet; // minutes
    double beginTime = NotSet;     // minutes
    double endTime = NotSet;       // minutes
};

// One detector's chromatogram of an analysis; no chromatogram means the detector is absent.
struct DetectorSlot {
    const COpenedChmFile* chromatogram = nullptr;
    double step = NotSet;      // minutes between samples
    double startTime = NotSet; // minutes
    double level = NotSet;     // baseline level of the first second of the signal
    std::int32_t samplesPerSecond = 0;
    // Peaks with a name, in peak-table order until the calibration sorts them by retention time. Lines
    // refer to these entries, so the list is not changed once the compositions are built.
    std::vector<PeakEntry> entries;
};

// One n-paraffin of the retention-time to boiling-point calibration.
struct CalibrationPoint {
    const ComponentRecord* component = nullptr;
    double boilingPoint = NotSet;  // °C
    double retentionTime = NotSet; // minutes
};

inline constexpr std::int32_t kFidLine = 1;
inline constexpr std::int32_t kTcdLine = 2;

// One line of a composition: an FID peak, a group of FID peaks, a boiling fraction or a TCD component.
struct GasLine {
    const ComponentRecord* component = nullptr; // for a fraction: the record named like the fraction
    std::int32_t detector = 0;                  // kFidLine or kTcdLine
    std::string name;
    const PeakEntry* sourceEntry = nullptr;      // the peak of an individual FID line
    std::vector<const PeakEntry*> mergedEntries; // the peaks of a group line
    bool isFraction = false;
    double area = NotSet;
    double weightedArea = NotSet; // area x sensitivity coefficient
    double massFraction = NotSet; // mass %
    double beginTime = NotSet;    // minutes
    double endTime = NotSet;
    double lowT = NotSet; // boiling range of a fraction, °C
    double highT = NotSet;
};

struct GasProperties {
    double molarMass = NotSet;       // g/mol
    double compressibility = NotSet; // at 101.325 kPa and 20 °C
    double density = NotSet;         // kg/m³ at 101.325 kPa and 20 °C
};

// The FID signal less the blank run, worked out sample by sample when read rather than stored: each
// recalculation would otherwise write a second copy of every FID signal. Sample i is the FID sample
// without a blank run, else max(0, y_FID[i] - y_blank[i] + (FID level - blank level)).
class CorrectedSignal {
public:
    CorrectedSignal() = default;
    CorrectedSignal(std::span<const float> fid, std::span<const float> blank, bool withBlank, double shift)
        : fid_(fid), blank_(blank), withBlank_(withBlank), shift_(shift),
          size_(withBlank ? std::min(fid.size(), blank.size()) : fid.size()) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    double operator[](std::size_t i) const {
        if (!withBlank_)
            return static_cast<double>(fid_[i]);
        return std::max(0.0, static_cast<double>(fid_[i]) - static_cast<double>(blank_[i]) + shift_);
    }

    // v[from] + v[from + 1] + ... + v[from + count - 1], added in this order. A window is summed once and
    // remembered: one recalculation integrates the same peak and fraction windows several times (in both
    // compositions, when peaks move into fractions), and the remembered sum is the same double.
    double Sum(std::size_t from, std::size_t count) const {
        const auto key = std::make_pair(from, count);
        if (const auto known = sums_.find(key); known != sums_.end())
            return known->second;
        const double s = SumInOrder(from, count);
        sums_.emplace(key, s);
        return s;
    }

private:
    double SumInOrder(std::size_t from, std::size_t count) const {
        double s = 0.0;
        if (!withBlank_) {
            for (std::size_t i = from; i < from + count; ++i)
                s += static_cast<double>(fid_[i]);
            return s;
        }
        for (std::size_t i = from; i < from + count; ++i)
            s += std::max(0.0, static_cast<double>(fid_[i]) - static_cast<double>(blank_[i]) + shift_);
        return s;
    }

    std::span<const float> fid_;
    std::span<const float> blank_;
    bool withBlank_ = false;
    double shift_ = 0.0;
    std::size_t size_ = 0;
    mutable std::map<std::pair<std::size_t, std::size_t>, double> sums_; // (from, count) -> Sum
};

// The two compositions of the gas: individual components below 175 °C, or below 45 °C, the rest as
// boiling fractions.
inline constexpr int kComponentComposition = 0;
inline constexpr int kFractionComposition = 1;
inline constexpr int kCompositions = 2;

// One gas analysis: its FID run and the two TCD runs started with it.
struct GasAnalysis {
    std::int32_t number = -1; // 0-based analysis number of its FID chromatogram
    DetectorSlot fid, tcd1, tcd2;
    std::vector<GasLine> tcdLines;                           // TCD-1 joined with TCD-2
    std::vector<GasLine> componentLines;                     // threshold 175 °C
    std::vector<GasLine> fractionLines;                      // threshold 45 °C
    std::array<double, kCompositions> positiveSum{0.0, 0.0}; // sum of the positive mass fractions
    CorrectedSignal corrected;                               // FID signal less the blank run
    std::vector<CalibrationPoint> calibration;
    double tcdJoinFactor = NotSet; // TCD-2 area -> TCD-1 area
    double fidTcdFactor = NotSet;  // TCD mass fraction -> FID mass fraction
    std::array<GasProperties, kCompositions> properties;

    std::vector<GasLine>& Lines(int composition) {
        return composition == kComponentComposition ? componentLines : fractionLines;
    }
    const std::vector<GasLine>& Lines(int composition) const {
        return composition == kComponentComposition ? componentLines : fractionLines;
    }
};

// One averaged row of a composition over the analyses.
struct GasRow {
    std::string name;
    std::int32_t count = 1;                       // line additions: analyses whose list holds the name
    std::map<std::int32_t, const GasLine*> lines; // by analysis number, ascending
    double average = NotSet;
    double minimum = std::numeric_limits<double>::max();
    double maximum = NotSet;
    double discrepancy = NotSet; // (maximum - minimum) / average x 100, %
    bool withinLimit = false;    // discrepancy within the repeatability limit
    double deltaAbs = NotSet;    // absolute accuracy
    const NormRange* norm = nullptr;
};

// One row of a control comparison.
struct GasControlRow {
    const ComponentRecord* component = nullptr;
    const NormRange* norm = nullptr;
    std::string name;
    double measured = NotSet;  // the control run's mass fraction
    double reference = NotSet; // the first analysis' mass fraction, or the certified value
    double Kk = NotSet;        // |measured - reference|
    double K = NotSet;         // the limit
    bool withinLimit = false;
};

// Every problem found for one component name; each flag becomes one line of its error message.
struct ComponentIssues {
    std::string name;
    bool notInTable = false;
    bool noDetectorType = false;
    bool noCoefficient = false;
    bool noMolarMass = false;
    bool notInAllAnalyses = false;
    bool rangeMismatch = false;
    bool notInBothSamples = false;
    bool rangeMismatchOkp = false;
    bool notInPassport = false;
    bool rangeMismatchOke = false;
};

// Results of the degassing-gas calculation, rebuilt from scratch by every recalculation. Lines, rows and
// entries refer to each other and into the chromatogram list and the component table: the result is
// valid until the next reset and is never copied.
struct Section7Result {
    Section7Result() = default;
    Section7Result(const Section7Result&) = delete;
    Section7Result& operator=(const Section7Result&) = delete;

    bool calculated = false;           // CalcSection7 ran since the last reset
    std::vector<GasAnalysis> analyses; // by number
    DetectorSlot blankSlot;            // the FID blank run of the gas
    GasAnalysis controlSample;         // control with a sample (ОКП)
    GasAnalysis controlStandard;       // control with a certified standard (ОКЭ)

    std::array<std::vector<GasRow>, kCompositions> rows;
    std::array<double, kCompositions> totals{0.0, 0.0}; // sum of the positive averages
    std::array<GasProperties, kCompositions> averagedProperties;
    std::array<std::vector<GasControlRow>, kCompositions> controlSampleRows;
    std::vector<GasControlRow> controlStandardRows;
    std::vector<ComponentIssues> issues; // in order of creation
};

} // namespace talvex
