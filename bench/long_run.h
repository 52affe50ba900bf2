#pragma once

#include "signal_generator.h"
#include "stg_writer.h"

namespace talvex::bench {

// The long run the file benchmarks read: 1 000 000 samples with 1 000 peaks, a drifting baseline and
// noise, as a condensate FID run.
inline synth::StgContent LongRun() {
    using namespace talvex::synth;
    SignalSpec plan;
    plan.step = 0.0001;
    plan.sampleCount = 1'000'000;
    plan.baseline = 20;
    plan.drift = 0.5;
    plan.noiseSigma = 0.2;
    plan.noiseSeed = 7;
    RandomPeakOptions options;
    options.runEnd = plan.step * static_cast<double>(plan.sampleCount);
    plan.peaks = RandomPeaks(11, 1000, options);
    const GeneratedSignal signal = GenerateSignal(plan);
    StgContent big;
    big.passport.sampleName = "Проба 1";
    big.passport.method = "ПИД ДК";
    big.samples = signal.samples;
    big.step = static_cast<float>(plan.step);
    big.peaks = signal.peaks;
    return big;
}

} // namespace talvex::bench
