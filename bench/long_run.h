#pragma once

#include "core/chromatogram/passport.h"
#include "signal_generator.h"
#include "stg_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace talvex::bench {

// The long run the file benchmarks read: 1 000 000 samples with 1 000 peaks, a drifting baseline and
// noise, as a condensate FID run. Other lengths keep the sampling step and one peak per 1 000 samples.
inline synth::StgContent LongRun(std::size_t samples = 1'000'000) {
    using namespace talvex::synth;
    SignalPlan plan;
    plan.step = 0.0001;
    plan.sampleCount = samples;
    plan.baseline = 20;
    plan.drift = 0.5;
    plan.noiseSigma = 0.2;
    plan.noiseSeed = 7;
    RandomPeakOptions options;
    options.runEnd = plan.step * static_cast<double>(plan.sampleCount);
    plan.peaks = RandomPeaks(11, static_cast<int>(samples / 1000), options);
    const GeneratedSignal signal = GenerateSignal(plan);
    StgContent big;
    big.passport.sampleName = "Проба 1";
    big.passport.method = "ПИД ДК";
    big.samples = signal.samples;
    big.step = static_cast<float>(plan.step);
    big.peaks = signal.peaks;
    return big;
}

// Reading the file's bytes and nothing else: the floor of any load.
inline void PlainRead(benchmark::State& state, const std::filesystem::path& file) {
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes(std::filesystem::file_size(file));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The browser's scan: the passport of every file of the folder, which holds `count` files.
inline void PassportScan(benchmark::State& state, const std::filesystem::path& folder, int count) {
    for (auto _ : state) {
        int read = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            CPassport passport;
            read += passport.ReadPassportFile(entry.path().string()).ok ? 1 : 0;
        }
        if (read != count)
            state.SkipWithError("a passport failed to read");
    }
}

} // namespace talvex::bench
