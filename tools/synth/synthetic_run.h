#pragma once

#include "stg_writer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace talvex::synth {

// Everything that decides one synthetic run. A named set of runs (degassing gas, condensate) would add
// its own peak list and passport texts here and keep the rest.
struct RunOptions {
    std::uint64_t seed = 1;
    std::size_t samples = 6000;
    double startTime = 0.0; // minutes
    double step = 0.005;    // minutes
    std::size_t peaks = 12;
    double noise = 0.02;
    double drift = 0.0;
    double baseline = 1.0;

    int passportVersion = 3;
    TableLayout tableLayout = TableLayout::Versioned;
    int tableVersion = 4;
    StringForm strings = StringForm::OneByte;
    DateTimeForm dates = DateTimeForm::Short;

    std::string sampleName;
    std::string method;
    std::string operatorName;
    std::string samplingPoint;
    std::string samplingSite;
    std::string comment;
    std::int64_t analysisTime = 1705312800;   // 2024-01-15 10:00:00 UTC
    std::optional<std::int64_t> samplingTime; // default: midnight UTC of the analysis day
    std::int32_t seriesNo = 0;
    bool calibration = false;
};

// The file content of a run: RandomPeaks over the run from the seed, the signal with noise from a seed
// derived from it, the passport from the options. Throws std::invalid_argument for options that cannot
// make a run (fewer than two samples, a step lost in single precision, see GenerateSignal).
StgContent BuildRun(const RunOptions& options);

} // namespace talvex::synth
