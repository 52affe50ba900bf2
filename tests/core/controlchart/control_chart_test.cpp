// Building a chart from observations: the reduction to q, the reasons of observations without a point,
// the phases and the lines.
#include "core/controlchart/control_chart.h"

#include "core/common/not_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace talvex::controlchart {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

ControlObservation Obs(ControlKind kind, double measured, double reference, double difference, double limit,
                       std::int64_t time = 0) {
    ControlObservation o;
    o.key.kind = kind;
    o.measured = measured;
    o.reference = reference;
    o.difference = difference;
    o.limit = limit;
    o.time = time;
    return o;
}

struct ReduceCase {
    const char* name;
    ControlObservation observation;
    double q;           // NaN: no point expected
    const char* reason; // a part of the reason expected
};

TEST(ReduceObservation, PointsAndReasons) {
    const ReduceCase cases[] = {
        {"okp", Obs(ControlKind::Okp, 90.2, 90.0, 0.2, 0.5), 0.4, ""},
        {"okp_difference_recomputed_when_missing", Obs(ControlKind::Okp, 90.2, 90.0, kNaN, 0.5),
         std::fabs(90.2 - 90.0) / 0.5, ""},
        {"oke_signed_below", Obs(ControlKind::Oke, 4.9, 5.0, 0.1, 0.2), (4.9 - 5.0) / 0.2, ""},
        {"oke_signed_above", Obs(ControlKind::Oke, 5.3, 5.0, 0.3, 0.2), (5.3 - 5.0) / 0.2, ""},
        {"measured_missing", Obs(ControlKind::Okp, kNaN, 90.0, kNaN, 0.5), kNaN, "нет результата"},
        {"measured_sentinel", Obs(ControlKind::Oke, NotSet, 5.0, kNaN, 0.2), kNaN, "нет результата"},
        {"reference_missing", Obs(ControlKind::Oke, 5.0, kNaN, kNaN, 0.2), kNaN, "нет аттестованного"},
        {"limit_missing", Obs(ControlKind::Okp, 1.0, 1.1, 0.1, kNaN), kNaN, "нет диапазона нормы"},
        {"limit_zero", Obs(ControlKind::Okp, 1.0, 1.1, 0.1, 0.0), kNaN, "нет диапазона нормы"},
        {"limit_negative_sentinel", Obs(ControlKind::Okp, 1.0, 1.1, 0.1, NotSet), kNaN,
         "нет диапазона нормы"},
        {"limit_infinite", Obs(ControlKind::Oke, 1.0, 1.1, 0.1, INFINITY), kNaN, "нет диапазона нормы"},
        {"limit_too_small_to_divide_by", Obs(ControlKind::Oke, 50.0, 1.0, 49.0, 1e-320), kNaN, "слишком мал"},
    };
    for (const ReduceCase& rc : cases) {
        SCOPED_TRACE(rc.name);
        const auto reduced = ReduceObservation(rc.observation);
        if (std::isnan(rc.q)) {
            ASSERT_TRUE(std::holds_alternative<std::string>(reduced));
            EXPECT_NE(std::get<std::string>(reduced).find(rc.reason), std::string::npos)
                << std::get<std::string>(reduced);
        } else {
            ASSERT_TRUE(std::holds_alternative<double>(reduced));
            EXPECT_DOUBLE_EQ(std::get<double>(reduced), rc.q);
        }
    }
}

TEST(BuildChart, LinesOfBothKinds) {
    const ChartLines okp = LinesOf(ControlKind::Okp);
    EXPECT_EQ(okp.centre, 0.4072);
    EXPECT_EQ(okp.warning, std::vector<double>{1.0231});
    EXPECT_EQ(okp.action, std::vector<double>{1.3307});
    ASSERT_EQ(okp.halfWarning.size(), 1u);
    EXPECT_DOUBLE_EQ(okp.halfWarning[0], (0.4072 + 1.0231) / 2);
    const ChartLines oke = LinesOf(ControlKind::Oke);
    EXPECT_EQ(oke.centre, 0.0);
    EXPECT_EQ(oke.warning, (std::vector<double>{-1.0, 1.0}));
    EXPECT_EQ(oke.action, (std::vector<double>{-1.5, 1.5}));
    EXPECT_EQ(oke.halfWarning, (std::vector<double>{-0.5, 0.5}));
}

TEST(BuildChart, OmittedObservationsKeepTheirPlaceOutOfThePointsAndPhasesSplitTheRules) {
    SeriesKey key;
    key.kind = ControlKind::Okp;
    std::vector<ControlObservation> obs;
    for (int i = 0; i < 12; ++i)
        obs.push_back(Obs(ControlKind::Okp, 1.0, 1.5, 0.5, 1.0, 100 * i)); // q 0.5, above the centre
    obs.insert(obs.begin() + 5, Obs(ControlKind::Okp, 1.0, kNaN, kNaN, 1.0, 450));
    // A phase at 600 (point 6 on) and one at 2000, after every point.
    const Chart chart = BuildChart(key, obs, {{2000, "после"}, {600, "Новый этап"}});
    ASSERT_EQ(chart.points.size(), 12u);
    ASSERT_EQ(chart.omitted.size(), 1u);
    EXPECT_EQ(chart.omitted[0].observation.time, 450);
    ASSERT_EQ(chart.phases.size(), 2u);
    EXPECT_EQ(chart.phases[0].start.reason, "Новый этап"); // in the order of time
    EXPECT_EQ(chart.phases[0].firstPoint, 6u);
    EXPECT_EQ(chart.phases[1].firstPoint, 12u);
    EXPECT_EQ(chart.points[5].phase, 0u);
    EXPECT_EQ(chart.points[6].phase, 1u);
    EXPECT_TRUE(chart.ruleSignals.empty()); // 6 + 6 above the centre, never 9 in one phase

    const Chart whole = BuildChart(key, obs, {});
    ASSERT_EQ(whole.ruleSignals.size(), 4u); // at the 9th, 10th, 11th and 12th point
    EXPECT_EQ(whole.ruleSignals.front().rule, 2);
    EXPECT_EQ(whole.ruleSignals.front().points.back(), 8u);
}

} // namespace
} // namespace talvex::controlchart
