#pragma once

#include "stg_writer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace talvex::synth {

// The runs of a degassing-gas (ГД) analysis: the hydrocarbons C1 … C13 on the FID (n-paraffins at the
// gas-column times of the shipped retention-time table, isomers placed between them by boiling point,
// a few unnamed peaks), the permanent gases, CO2, methane and ethane on TCD-1, and helium, hydrogen,
// methane and ethane on TCD-2 with another scale.
enum class GasRunKind {
    Sample,          // "Проба 1"
    Blank,           // "Холостая": baseline and noise only, FID
    ControlSample,   // "ОКП": another portion of the sample
    ControlStandard, // "ОКЭ": the certified gas mixture of the shipped component table, FID
};

enum class GasDetector { Fid, Tcd1, Tcd2 };

struct GasRunOptions {
    GasRunKind kind = GasRunKind::Sample;
    GasDetector detector = GasDetector::Fid;
    // Repeated analyses of one gas differ a little: the amounts are varied by up to `spread` (relative)
    // from this seed.
    std::uint64_t seed = 1;
    double spread = 0.005;
    std::size_t samples = 40000; // over the run's 40 minutes
    double duration = 40.0;      // minutes
    // Small unnamed FID peaks spread evenly between n-pentane and n-tridecane (for load tests).
    std::size_t extraUnnamedPeaks = 0;
    std::int64_t analysisTime = 1705309200; // 2024-01-15 09:00:00 UTC
};

// The file content of one run.
StgContent BuildGasRun(const GasRunOptions& options);

// The set "gas": three analyses on FID, TCD-1 and TCD-2 (the TCD runs started 2 and 4 seconds after the
// FID run), an FID blank, a control with a sample on all three detectors and a control with the certified
// mixture on the FID, written as gd-*.stg.
bool WriteGasSet(const std::filesystem::path& folder, std::uint64_t seed, std::string* error);

} // namespace talvex::synth
