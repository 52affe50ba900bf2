// The blank-corrected signal of a condensate run and the one integration rule of the condensate calculation.
#include "core/chromatogram/opened_chm_file.h"
#include "core/common/band_level.h"
#include "core/section8/condensate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace talvex {
bool CondensateRun::AttachRun(const COpenedChmFile& run) {
    chromatogram = &run;
    step = run.signal.step;
    startTime = run.signal.startTime;
    const std::vector<float>& samples = run.signal.samples;
    const double perSecond = 1.0 / (step * 60.0);
    if (!(perSecond < static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        levelPoints = -1;
        baselineLevel = NotSet;
        return false; // a step of zero (or a broken time axis): no second of signal can be found
    }
    levelPoints = perSecond >= 1.0 ? static_cast<std::int32_t>(perSecond) : 0;
    // A step longer than a second leaves no sample within the first second; its first sample is the level.
    const std::size_t n = std::max<std::size_t>(static_cast<std::size_t>(levelPoints), 1);
    if (samples.size() < n) {
        baselineLevel = NotSet;
        return false;
    }
    baselineLevel = BandLevel(std::span<const float>(samples).first(n));
    return true;
}

void CondensateAnalysis::SubtractBlank(const CondensateRun& blank) {
    const std::vector<float>& x = chromatogram->signal.samples;
    const std::vector<float>& b = blank.chromatogram->signal.samples;
    const std::size_t n = std::min(x.size(), b.size());
    const double levelShift = baselineLevel - blank.baselineLevel;
    // Filled by appending: a run of a million samples is written once, not cleared first.
    corrected.clear();
    corrected.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double v = (static_cast<double>(x[i]) - static_cast<double>(b[i])) + levelShift;
        corrected.push_back(v > 0.0 ? v : 0.0);
    }
    sampleStep = blank.step;
    sampleStart = blank.startTime;
}

double CondensateAnalysis::Integrate(double t1, double t2) const {
    if (IsMissingTime(t1) || IsMissingTime(t2) || corrected.empty())
        return NotSet;
    const double tLast = SampleTime(corrected.size() - 1);
    if (t1 > tLast || t2 > tLast)
        return NotSet;
    // Indices on the analysis's own time axis; the corrected signal may be shorter (a shorter blank, or a
    // blank sampled on another grid), and a bound may lie before the first sample: such indices are held
    // to the samples that exist.
    const double last = static_cast<double>(corrected.size() - 1);
    const auto index = [&](double t) {
        const double i = std::trunc((t - startTime) / step + 0.5);
        return static_cast<std::ptrdiff_t>(std::clamp(i, 0.0, last));
    };
    const std::ptrdiff_t i1 = index(t1);
    const std::ptrdiff_t i2 = index(t2);
    std::ptrdiff_t n = i2 - i1 + 1;
    if (n < 1)
        return NotSet;
    // A bound on a sample takes that sample once; between samples the end sample counts one and a half.
    if (static_cast<double>(i1) * step + startTime == t1)
        --n;
    if (static_cast<double>(i2) * step + startTime == t2)
        --n;
    double s = 0.0;
    for (std::ptrdiff_t i = 0; i < n; ++i)
        s += corrected[static_cast<std::size_t>(i1 + i)];
    return (s + 0.5 * corrected[static_cast<std::size_t>(i1)] +
            0.5 * corrected[static_cast<std::size_t>(i2)]) *
           step;
}

} // namespace talvex
