#include "core/curve/boiling_curve.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace talvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Step {
    double temp;
    double mass;
};

struct Ramp {
    double low;
    double high;
    double mass;
};

// The placed mass of a composition, split into steps and evenly spread fractions.
struct PlacedMass {
    std::vector<Step> steps;
    std::vector<Ramp> ramps;
    double total = 0.0;

    // The mass boiling below `temp`, with the steps at `temp` itself when `withStepsAt` is set.
    double Below(double temp, bool withStepsAt) const {
        double mass = 0.0;
        for (const Step& s : steps)
            if (s.temp < temp || (withStepsAt && s.temp == temp))
                mass += s.mass;
        for (const Ramp& r : ramps)
            mass += r.mass * std::clamp((temp - r.low) / (r.high - r.low), 0.0, 1.0);
        return mass;
    }
    double Share(double temp, bool withStepsAt) const { return 100.0 * Below(temp, withStepsAt) / total; }
};

bool ReadInt(const char*& at, const char* end, int& value) {
    const auto result = std::from_chars(at, end, value);
    if (result.ec != std::errc())
        return false;
    at = result.ptr;
    return true;
}

} // namespace

std::optional<std::pair<int, int>> FractionBounds(const std::string& name) {
    if (name.size() < 4 || name[0] != 'F')
        return std::nullopt;
    const char* at = name.data() + 1;
    const char* end = name.data() + name.size();
    int low = 0, high = 0;
    if (!ReadInt(at, end, low) || at == end || *at != '-')
        return std::nullopt;
    ++at;
    if (!ReadInt(at, end, high) || at != end || high <= low)
        return std::nullopt;
    return std::make_pair(low, high);
}

std::optional<BoilingCurve> BuildBoilingCurve(const std::vector<CurveItem>& items, std::string& reason) {
    BoilingCurve curve;
    PlacedMass placed;
    double stepMass = 0.0;
    double curveEnd = kNaN;
    for (const CurveItem& item : items) {
        if (!(item.massShare > 0) || !std::isfinite(item.massShare))
            continue;
        if (item.isFraction && item.highTemp > item.lowTemp) {
            placed.ramps.push_back({item.lowTemp, item.highTemp, item.massShare});
            curveEnd = std::isnan(curveEnd) ? item.highTemp : std::max(curveEnd, item.highTemp);
        } else if (!item.isFraction && std::isfinite(item.boilingPoint)) {
            placed.steps.push_back({item.boilingPoint, item.massShare});
            stepMass += item.massShare;
        } else {
            curve.unplaced.emplace_back(item.name, item.massShare);
            continue;
        }
        placed.total += item.massShare;
    }
    if (!(placed.total > 0)) {
        reason = "Ни у одной строки состава нет массовой доли вместе с температурой кипения: кривая "
                 "разгонки не строится.";
        return std::nullopt;
    }

    std::vector<double> temps;
    for (const Step& s : placed.steps)
        temps.push_back(s.temp);
    for (const Ramp& r : placed.ramps) {
        temps.push_back(r.low);
        temps.push_back(r.high);
    }
    std::sort(temps.begin(), temps.end());
    temps.erase(std::unique(temps.begin(), temps.end()), temps.end());
    for (const double t : temps) {
        const bool step =
            std::any_of(placed.steps.begin(), placed.steps.end(), [t](const Step& s) { return s.temp == t; });
        if (step)
            curve.points.emplace_back(t, placed.Share(t, false));
        curve.points.emplace_back(t, placed.Share(t, true));
    }
    for (std::size_t i = 0; i < kCurveCutPercents.size(); ++i)
        curve.cutTemps[i] = CurveTempAt(curve, kCurveCutPercents[i]);
    for (std::size_t i = 0; i < kCurveYieldTemps.size(); ++i)
        curve.yields[i] = placed.Share(kCurveYieldTemps[i], true);
    curve.lightEnd = 100.0 * stepMass / placed.total;
    curve.curveEnd = curveEnd;
    return curve;
}

double CurveTempAt(const BoilingCurve& curve, double percent) {
    const auto& p = curve.points;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i].second < percent)
            continue;
        if (i == 0 || p[i].second == percent || p[i].first == p[i - 1].first)
            return p[i].first;
        const auto& [t0, c0] = p[i - 1];
        const auto& [t1, c1] = p[i];
        return t0 + (percent - c0) / (c1 - c0) * (t1 - t0);
    }
    return kNaN;
}

double CurveShareAt(const BoilingCurve& curve, double temp) {
    const auto& p = curve.points;
    if (p.empty() || temp < p.front().first)
        return 0.0;
    // The last point at or below `temp` (the top of a step there), then linear to the next one.
    std::size_t i = 0;
    while (i + 1 < p.size() && p[i + 1].first <= temp)
        ++i;
    if (i + 1 == p.size() || p[i].first == temp)
        return p[i].second;
    const auto& [t0, c0] = p[i];
    const auto& [t1, c1] = p[i + 1];
    return c0 + (temp - t0) / (t1 - t0) * (c1 - c0);
}

} // namespace talvex
