#include "core/section7/blank_correction.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/not_set.h"
#include "core/section7/gas_messages.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace talvex {
namespace {

// The sample index of a time, or nothing when it lies after the last sample.
std::optional<std::size_t> SampleIndex(double t, double t0, double dt, std::size_t n) {
    if (dt == 0.0 || t < t0)
        return 0;
    const double index = std::trunc((t - t0) / dt);
    if (!(index < static_cast<double>(n)))
        return std::nullopt;
    return static_cast<std::size_t>(index);
}

} // namespace

void CorrectBlank(GasAnalysis& analysis, const DetectorSlot& blank, MessageLog& log) {
    analysis.corrected = CorrectedSignal{};
    if (!analysis.fid.chromatogram)
        return;
    const std::vector<float>& fid = analysis.fid.chromatogram->signal.samples;
    if (!blank.chromatogram) {
        PostNoBlank(log);
        analysis.corrected = CorrectedSignal(fid, {}, false, 0.0);
        return;
    }
    analysis.corrected =
        CorrectedSignal(fid, blank.chromatogram->signal.samples, true, analysis.fid.level - blank.level);
}

double CorrectedArea(const GasAnalysis& analysis, double a, double b) {
    const CorrectedSignal& v = analysis.corrected;
    const std::size_t n = v.size();
    if (!analysis.fid.chromatogram || n == 0 || IsMissingTime(a) || IsMissingTime(b))
        return NotSet;
    const double t0 = analysis.fid.chromatogram->signal.startTime;
    const double dt = analysis.fid.chromatogram->signal.step;
    const auto i1 = SampleIndex(a, t0, dt, n);
    const auto i2 = SampleIndex(b, t0, dt, n);
    if (!i1 || !i2)
        return NotSet;
    std::int64_t m = static_cast<std::int64_t>(*i2) - static_cast<std::int64_t>(*i1) + 1;
    if (m < 1)
        return NotSet;
    // A window end lying exactly on a sample takes that sample with half its weight only.
    if (static_cast<double>(*i1) * dt + t0 == a)
        m = static_cast<std::int64_t>(*i2) - static_cast<std::int64_t>(*i1);
    if (static_cast<double>(*i2) * dt + t0 == b)
        m = m - 1;
    const double s = m > 0 ? v.Sum(*i1, static_cast<std::size_t>(m)) : 0.0;
    return (0.5 * v[*i1] + s + 0.5 * v[*i2]) * dt;
}

} // namespace talvex
