#pragma once

#include "stg_writer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace talvex::synth {

// The runs of a degassed-condensate (ДК) series on the FID: long runs with hundreds of peaks from C3 to
// C40, of which only the light components and the n-paraffins carry names. The n-paraffins elute at the
// condensate-column times of the shipped retention-time table, so that the boiling calibration and both
// marking methods work on them.
enum class CondensateRunKind {
    Sample,          // "Проба 1"
    Blank,           // "Холостая": baseline and noise only
    Calibration,     // "Градуировка": an n-paraffin mixture C5 … C20
    ControlSample,   // "ОКП": another portion of the sample
    ControlStandard, // "ОКЭ": the certified liquid mixture of the shipped component table
};

struct CondensateRunOptions {
    CondensateRunKind kind = CondensateRunKind::Sample;
    std::uint64_t seed = 1;
    std::size_t samples = 35000; // over the run's 70 minutes
    double duration = 70.0;      // minutes
    // Unnamed peaks between two neighbouring n-paraffins (a sample's heavy isomers, naphthenes, aromatics).
    std::size_t unnamedPerInterval = 9;
    std::int64_t analysisTime = 1705395600; // 2024-01-16 09:00:00 UTC
};

// The file content of one run. Sample and control-sample runs of different seeds differ a little in their
// heights, as repeated analyses of one condensate do.
StgContent BuildCondensateRun(const CondensateRunOptions& options);

// The set "condensate": a blank, a calibration, three sample analyses, a control with a sample and one
// with the certified mixture, written as dk-*.stg.
bool WriteCondensateSet(const std::filesystem::path& folder, std::uint64_t seed, std::string* error);

} // namespace talvex::synth
