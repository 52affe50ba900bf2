#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talvex {

// The boiling-point distribution of a composition: the share of its mass, in %, that boils at or below a
// temperature, as simulated distillation reports it. Temperatures are °C, shares mass %.

// One row of a composition as the curve takes it.
struct CurveItem {
    std::string name;
    double massShare = 0.0; // mass %; a missing (NaN) or non-positive share is left off
    // A boiling fraction spreads its share evenly over [lowTemp, highTemp]; anything else is a step of its
    // share at its component's boiling point.
    bool isFraction = false;
    double lowTemp = 0.0;
    double highTemp = 0.0;
    // NaN when the row has no component in the database or the component no boiling point: the row is
    // then "unplaced", listed but left off the curve.
    double boilingPoint = 0.0;
};

// The temperatures at which the curve reaches 0.5 (IBP), 5, 10, 20, …, 90, 95 and 99.5 % (FBP).
inline constexpr std::array<double, 13> kCurveCutPercents{0.5, 5,  10, 20, 30, 40,  50,
                                                          60,  70, 80, 90, 95, 99.5};
// The temperatures at which the yields are read.
inline constexpr std::array<double, 6> kCurveYieldTemps{100, 150, 200, 250, 300, 350};

struct BoilingCurve {
    std::int32_t analysis = 0; // number from 1 for one analysis' curve, 0 for a result curve
    // In order of temperature: at a step two points at its temperature (the foot and the top), at a
    // fraction bound one point.
    std::vector<std::pair<double, double>> points;
    std::array<double, kCurveCutPercents.size()> cutTemps{}; // NaN where the curve never reaches the share
    std::array<double, kCurveYieldTemps.size()> yields{};    // C at 100, 150, …, 350 °C
    double lightEnd = 0.0; // share of the placed rows that are not fractions
    double curveEnd = 0.0; // upper bound of the last fraction with mass; NaN without one
    std::vector<std::pair<std::string, double>> unplaced; // name and mass share
};

// The curve of the items, or nothing when no item has a placed positive share (`reason` then says so in
// one Russian sentence).
std::optional<BoilingCurve> BuildBoilingCurve(const std::vector<CurveItem>& items, std::string& reason);

// The cumulative share at `temp` (steps at `temp` included), read off the curve's points.
double CurveShareAt(const BoilingCurve& curve, double temp);

// The lowest temperature at which the curve reaches `percent`: linear between two points, a step's
// temperature on a step, the start of a plateau at a plateau; NaN when it never does.
double CurveTempAt(const BoilingCurve& curve, double percent);

// A fraction's name as the program makes them ("F60-70"): its bounds, or nothing for any other name.
std::optional<std::pair<int, int>> FractionBounds(const std::string& name);

} // namespace talvex
