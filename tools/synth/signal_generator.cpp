#include "signal_generator.h"

#include "portable_math.h"
#include "portable_random.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace talvex::synth {
namespace {

constexpr double kBoundSigmas = 3.5; // a peak's bounds lie this many deviations from its apex
constexpr double kReachSigmas = 12.; // beyond this a Gaussian adds nothing a float could hold
constexpr double kSqrtTwoPi = 2.50662827463100050242;

bool IsRider(const PeakPlan& p) {
    return p.host.has_value();
}

// Chained: linked to the next peak or from the previous one.
std::vector<bool> ChainMembers(const std::vector<PeakPlan>& peaks) {
    std::vector<bool> chained(peaks.size(), false);
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (!peaks[i].linkedToNext)
            continue;
        if (i + 1 == peaks.size())
            throw std::invalid_argument("the last peak cannot be linked to a next one");
        if (!(peaks[i + 1].apexTime > peaks[i].apexTime))
            throw std::invalid_argument("linked peaks must have rising apex times");
        chained[i] = chained[i + 1] = true;
    }
    return chained;
}

void Validate(const SignalPlan& plan, const std::vector<bool>& chained) {
    if (!std::isfinite(plan.startTime) || !std::isfinite(plan.step) || !(plan.step > 0.0))
        throw std::invalid_argument("the time axis needs a finite start and a positive step");
    if (!std::isfinite(plan.baseline) || !std::isfinite(plan.drift) || !std::isfinite(plan.noiseSigma) ||
        plan.noiseSigma < 0.0)
        throw std::invalid_argument("baseline, drift and noise must be finite, noise not negative");
    for (std::size_t i = 0; i < plan.peaks.size(); ++i) {
        const PeakPlan& p = plan.peaks[i];
        if (!std::isfinite(p.apexTime) || !std::isfinite(p.height) || !std::isfinite(p.sigma) ||
            !(p.sigma > 0.0))
            throw std::invalid_argument("a peak needs a finite apex and height and a positive sigma");
        if (!IsRider(p))
            continue;
        if (*p.host >= plan.peaks.size() || *p.host == i)
            throw std::invalid_argument("a rider's host is not a peak of the list");
        if (chained[i] || chained[*p.host] || IsRider(plan.peaks[*p.host]))
            throw std::invalid_argument("riders and their hosts cannot be chained or riders themselves");
    }
}

// Bounds of ordinary and chained peaks first, then of the riders inside their hosts.
void SetBounds(const SignalPlan& plan, std::vector<talvex::cmpeek>& out) {
    const double runFirst = plan.startTime;
    const double runLast =
        plan.startTime + plan.step * static_cast<double>(plan.sampleCount == 0 ? 0 : plan.sampleCount - 1);
    const auto& peaks = plan.peaks;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (IsRider(peaks[i]))
            continue;
        out[i].beginTime = peaks[i].apexTime - kBoundSigmas * peaks[i].sigma;
        out[i].endTime = peaks[i].apexTime + kBoundSigmas * peaks[i].sigma;
        if (i > 0 && peaks[i - 1].linkedToNext)
            out[i].beginTime = out[i - 1].endTime;
        if (peaks[i].linkedToNext) {
            const PeakPlan& next = peaks[i + 1];
            const double share = peaks[i].sigma / (peaks[i].sigma + next.sigma);
            out[i].endTime = peaks[i].apexTime + (next.apexTime - peaks[i].apexTime) * share;
        }
    }
    for (auto& p : out) {
        p.beginTime = std::clamp(p.beginTime, runFirst, runLast);
        p.endTime = std::clamp(p.endTime, runFirst, runLast);
    }
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (!IsRider(peaks[i]))
            continue;
        const talvex::cmpeek& host = out[*peaks[i].host];
        out[i].beginTime = std::max(peaks[i].apexTime - kBoundSigmas * peaks[i].sigma, host.beginTime);
        out[i].endTime = std::min(peaks[i].apexTime + kBoundSigmas * peaks[i].sigma, host.endTime);
        if (out[i].beginTime > out[i].endTime)
            throw std::invalid_argument("a rider lies outside its host");
    }
}

// The samples within `reach` of time t as a half-open index range, clamped before any conversion.
struct Window {
    std::size_t begin;
    std::size_t end;
};

Window SampleWindow(const SignalPlan& plan, double t, double reach) {
    const double n = static_cast<double>(plan.sampleCount);
    const auto clampIndex = [&](double v) -> std::size_t {
        if (!(v > 0.0))
            return 0;
        return v >= n ? plan.sampleCount : static_cast<std::size_t>(v);
    };
    return {clampIndex(std::ceil((t - reach - plan.startTime) / plan.step)),
            clampIndex(std::floor((t + reach - plan.startTime) / plan.step) + 1.0)};
}

// Values beyond the float range become infinities instead of an undefined conversion.
float ToFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax || v < -kMax)
        return v > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

std::vector<float> Samples(const SignalPlan& plan) {
    const std::size_t n = plan.sampleCount;
    std::vector<double> peaks(n, 0.0);
    for (const PeakPlan& p : plan.peaks) {
        const Window w = SampleWindow(plan, p.apexTime, kReachSigmas * p.sigma);
        for (std::size_t k = w.begin; k < w.end; ++k) {
            const double z = (plan.startTime + static_cast<double>(k) * plan.step - p.apexTime) / p.sigma;
            peaks[k] += p.height * PortableExp(-0.5 * z * z);
        }
    }
    PortableRandom random(plan.noiseSeed);
    std::vector<float> samples(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double dt = static_cast<double>(k) * plan.step;
        const double noise = plan.noiseSigma > 0.0 ? plan.noiseSigma * random.Normal() : 0.0;
        samples[k] = ToFloat(plan.baseline + plan.drift * dt + peaks[k] + noise);
    }
    return samples;
}

} // namespace

GeneratedSignal GenerateSignal(const SignalPlan& plan) {
    const std::vector<bool> chained = ChainMembers(plan.peaks);
    Validate(plan, chained);
    GeneratedSignal out;
    out.peaks.resize(plan.peaks.size());
    for (std::size_t i = 0; i < plan.peaks.size(); ++i) {
        const PeakPlan& p = plan.peaks[i];
        talvex::cmpeek& q = out.peaks[i];
        q.index = static_cast<std::int32_t>(i);
        q.name = p.name;
        q.nextLinked = p.linkedToNext ? static_cast<std::int32_t>(i + 1) : -1;
        q.storedValue = p.height * p.sigma * kSqrtTwoPi;
    }
    SetBounds(plan, out.peaks);
    out.samples = Samples(plan);
    return out;
}

} // namespace talvex::synth
