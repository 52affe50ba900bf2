#pragma once

#include "core/chromatogram/cmpeek.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvex::synth {

// One Gaussian peak of a synthetic chromatogram.
struct PeakPlan {
    double apexTime = 0.0; // minutes
    double sigma = 0.01;   // minutes, positive
    double height = 1.0;   // signal units above the baseline; negative for a negative peak
    std::string name;      // component name; empty for an unnamed peak
    // Shares a baseline with the next peak of the list (a chain of unresolved peaks): its end and the
    // next one's start meet in the valley between them, and the table links it to that peak.
    bool linkedToNext = false;
    // A rider: a small peak whose bounds lie wholly inside those of the peak with this list index, which
    // must be an ordinary peak (neither a rider nor in a chain).
    std::optional<std::size_t> host;
};

// A synthetic run: time axis, baseline with linear drift, Gaussian noise and peaks.
struct SignalPlan {
    double startTime = 0.0; // minutes
    double step = 0.005;    // minutes between samples, positive
    std::size_t sampleCount = 0;
    double baseline = 0.0;   // signal at startTime without peaks and noise
    double drift = 0.0;      // baseline change per minute
    double noiseSigma = 0.0; // standard deviation of the noise, signal units
    std::uint64_t noiseSeed = 0;
    std::vector<PeakPlan> peaks; // in table order, normally by apex time
};

struct GeneratedSignal {
    std::vector<float> samples;
    // One peak per plan, in the same order: index, name, beginTime/endTime (apex -/+ 3.5 sigma, clipped
    // to the run; riders clipped to their host; chains meeting in their valleys), nextLinked for chains,
    // storedValue = the Gaussian's area. Computed fields are left for a reader to fill.
    std::vector<talvex::cmpeek> peaks;
};

// The same plan gives the same bits on every platform. Throws std::invalid_argument for a plan that
// cannot be drawn: a non-positive step or sigma, a chain whose apexes do not rise, a link from the last
// peak, a rider of a rider or of a chained peak, a host index outside the list.
GeneratedSignal GenerateSignal(const SignalPlan& plan);

// Lay-out of RandomPeaks over a run.
struct RandomPeakOptions {
    double runStart = 0.0; // minutes; peaks keep clear of both ends
    double runEnd = 30.0;
    double minHeight = 5.0; // heights lie between these, most of them near the low end
    double maxHeight = 500.0;
};

// `count` peaks spread over the run: single peaks, chains of two or three linked peaks and hosts
// carrying a rider, most named in elution order from the light hydrocarbons (Метан, Этан, …, н-Гексан,
// the n-paraffins), the rest unnamed. Deterministic from the seed. Throws std::invalid_argument unless
// runStart < runEnd and 0 < minHeight <= maxHeight, all finite.
std::vector<PeakPlan> RandomPeaks(std::uint64_t seed, std::size_t count, const RandomPeakOptions& options);

} // namespace talvex::synth
