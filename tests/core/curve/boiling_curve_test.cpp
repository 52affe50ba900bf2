#include "core/curve/boiling_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace talvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CurveItem Step(const char* name, double share, double boilingPoint) {
    return {name, share, false, 0, 0, boilingPoint};
}

CurveItem Fraction(int low, int high, double share) {
    return {
        "F" + std::to_string(low) + "-" + std::to_string(high), share, true, double(low), double(high), kNaN};
}

// The condensate of one analysis: four light components, then eight 10-degree fractions from 45 °C.
std::vector<CurveItem> WorkedCase() {
    return {Step("пропан", 0.4, -42.11),  Step("н-бутан", 1.6, -0.5), Step("изо-пентан", 2.5, 27.83),
            Step("н-пентан", 3.5, 36.06), Fraction(45, 60, 7),        Fraction(60, 70, 10),
            Fraction(70, 80, 12),         Fraction(80, 90, 15),       Fraction(90, 100, 18),
            Fraction(100, 110, 14),       Fraction(110, 120, 10),     Fraction(120, 130, 6)};
}

BoilingCurve Build(const std::vector<CurveItem>& items) {
    std::string reason;
    std::optional<BoilingCurve> curve = BuildBoilingCurve(items, reason);
    EXPECT_TRUE(curve) << reason;
    return curve.value_or(BoilingCurve{});
}

TEST(BoilingCurve, TheWorkedCase) {
    const BoilingCurve c = Build(WorkedCase());
    EXPECT_EQ(c.cutTemps[0], -0.5);  // IBP on the step of n-butane
    EXPECT_EQ(c.cutTemps[1], 36.06); // T5 on the step of n-pentane
    EXPECT_NEAR(c.cutTemps[2], 49.2857142857, 1e-9);
    EXPECT_NEAR(c.cutTemps[6], 88.6666666667, 1e-9);   // T50
    EXPECT_NEAR(c.cutTemps[10], 116.0, 1e-9);          // T90
    EXPECT_NEAR(c.cutTemps[11], 121.6666666667, 1e-9); // T95
    EXPECT_NEAR(c.cutTemps[12], 129.1666666667, 1e-9); // FBP
    EXPECT_NEAR(c.yields[0], 70.0, 1e-9);
    EXPECT_NEAR(c.yields[1], 100.0, 1e-9);
    EXPECT_NEAR(c.yields[5], 100.0, 1e-9);
    EXPECT_NEAR(c.lightEnd, 8.0, 1e-9);
    EXPECT_EQ(c.curveEnd, 130.0);
    EXPECT_TRUE(c.unplaced.empty());
    // Two points at each step (foot and top), one at each fraction bound, in order of temperature.
    ASSERT_EQ(c.points.size(), 4u * 2u + 9u);
    EXPECT_EQ(c.points[0], std::make_pair(-42.11, 0.0));
    EXPECT_NEAR(c.points[1].second, 0.4, 1e-12);
    for (std::size_t i = 1; i < c.points.size(); ++i) {
        EXPECT_LE(c.points[i - 1].first, c.points[i].first);
        EXPECT_LE(c.points[i - 1].second, c.points[i].second + 1e-12);
    }
}

TEST(BoilingCurve, TableOfCases) {
    struct Case {
        const char* what;
        std::vector<CurveItem> items;
        double ibp, t50, fbp, lightEnd, curveEnd;
        std::size_t unplaced;
    };
    const Case cases[] = {
        // A component boiling at 50 °C inside the ramp of F45-60: the ramp's share below it and the step.
        {"step inside a ramp",
         {Fraction(45, 60, 50), Step("x", 50, 50)},
         45.0 + 0.5 / 50 * 15,
         50,
         60 - 0.5 / 50 * 15,
         50,
         60,
         0},
        {"light end only", {Step("a", 30, 10), Step("b", 70, 20)}, 10, 20, 20, 100, kNaN, 0},
        {"a row without a boiling point",
         {Step("a", 30, 10), Step("?", 5, kNaN), Step("b", 70, 20)},
         10,
         20,
         20,
         100,
         kNaN,
         1},
        // Shares that sum to 101.863: the curve is normalised to 100.
        {"shares over 100",
         {Step("a", 30, 0), Fraction(0, 10, 71.863)},
         0,
         (50 - 100 * 30 / 101.863) / (100 * 71.863 / 101.863) * 10,
         (99.5 - 100 * 30 / 101.863) / (100 * 71.863 / 101.863) * 10,
         100 * 30 / 101.863,
         10,
         0},
        // A plateau between two fractions: 50 % is reached at its start.
        {"the start of a plateau", {Fraction(0, 10, 50), Fraction(20, 30, 50)}, 0.1, 10, 29.9, 0, 30, 0},
        // 50 % reached exactly at the top of a step: the step's temperature; on the plateau after it, its
        // start.
        {"T exactly on a point",
         {Step("a", 50, 10), Fraction(20, 30, 50)},
         10,
         10,
         30 - 0.5 / 50 * 10,
         50,
         30,
         0},
        {"the first fraction only", {Fraction(45, 60, 7)}, 45 + 0.005 * 15, 52.5, 60 - 0.005 * 15, 0, 60, 0},
    };
    for (const Case& c : cases) {
        const BoilingCurve curve = Build(c.items);
        EXPECT_NEAR(curve.cutTemps[0], c.ibp, 1e-9) << c.what;
        EXPECT_NEAR(curve.cutTemps[6], c.t50, 1e-9) << c.what;
        EXPECT_NEAR(curve.cutTemps[12], c.fbp, 1e-9) << c.what;
        EXPECT_NEAR(curve.lightEnd, c.lightEnd, 1e-9) << c.what;
        if (std::isnan(c.curveEnd))
            EXPECT_TRUE(std::isnan(curve.curveEnd)) << c.what;
        else
            EXPECT_EQ(curve.curveEnd, c.curveEnd) << c.what;
        EXPECT_EQ(curve.unplaced.size(), c.unplaced) << c.what;
        EXPECT_NEAR(curve.points.back().second, 100.0, 1e-9) << c.what;
    }
}

TEST(BoilingCurve, NoPlacedMassGivesNoCurveAndSaysWhy) {
    for (const auto& items : std::vector<std::vector<CurveItem>>{
             {}, {Step("a", 0, 10), Step("b", -3, 20)}, {Step("?", 10, kNaN)}, {Step("a", kNaN, 10)}}) {
        std::string reason;
        EXPECT_FALSE(BuildBoilingCurve(items, reason));
        EXPECT_NE(reason.find("кривая разгонки не строится"), std::string::npos);
    }
}

TEST(BoilingCurve, ReadsSharesAndTemperaturesOffThePoints) {
    const BoilingCurve c = Build(WorkedCase());
    EXPECT_EQ(CurveShareAt(c, -100), 0.0);
    EXPECT_NEAR(CurveShareAt(c, -0.5), 2.0, 1e-12); // the top of the step at its temperature
    EXPECT_NEAR(CurveShareAt(c, 52.5), 11.5, 1e-12);
    EXPECT_NEAR(CurveShareAt(c, 500), 100.0, 1e-12);
    EXPECT_TRUE(std::isnan(CurveTempAt(c, 100.5)));
}

TEST(BoilingCurve, FractionNamesAsTheProgramMakesThem) {
    EXPECT_EQ(FractionBounds("F60-70"), std::make_pair(60, 70));
    EXPECT_EQ(FractionBounds("F-10-0"), std::make_pair(-10, 0));
    for (const char* other : {"F60", "F60-", "F70-60", "F60-70x", "Метан", "f60-70", ""})
        EXPECT_FALSE(FractionBounds(other)) << other;
}

} // namespace
} // namespace talvex
