// The rule table of the control charts: every rule, its window edges, the "same side" and phase
// conditions, exclusions and points lying on a line.
#include "core/controlchart/control_chart.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace talvex::controlchart {
namespace {

constexpr double c = kOkpCentre;

// Cases leave out the exclusions and phases they do not need.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

struct RuleCase {
    const char* name;
    ControlKind kind;
    std::vector<double> q;
    std::string expected;             // "rule:i,j,k" per signal, separated by blanks
    std::set<std::size_t> excluded;   // indexes
    std::vector<std::size_t> phaseAt; // indexes of the first point of each new phase
};

void PrintTo(const RuleCase& rc, std::ostream* os) {
    *os << rc.name;
}

std::string Describe(const std::vector<Signal>& signals) {
    std::ostringstream out;
    for (std::size_t s = 0; s < signals.size(); ++s) {
        out << (s ? " " : "") << signals[s].rule << ':';
        for (std::size_t k = 0; k < signals[s].points.size(); ++k)
            out << (k ? "," : "") << signals[s].points[k];
    }
    return out.str();
}

std::vector<double> Repeat(double v, int n) {
    return std::vector<double>(static_cast<std::size_t>(n), v);
}

std::vector<double> Join(std::initializer_list<std::vector<double>> parts) {
    std::vector<double> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const std::vector<RuleCase>& Cases() {
    static const std::vector<RuleCase> cases = {
        // Rule 1.
        {"okp_action_above", ControlKind::Okp, {0.1, 1.34, 0.1}, "1:1"},
        {"okp_action_on_line_is_not_above", ControlKind::Okp, {0.1, kOkpAction * (1 + 5e-10), 0.1}, ""},
        {"okp_action_just_beyond_tolerance", ControlKind::Okp, {0.1, kOkpAction * (1 + 2e-9), 0.1}, "1:1"},
        {"oke_action_both_sides", ControlKind::Oke, {1.6, 0.2, -1.6, -1.5}, "1:0 1:2 4:2,3"},
        // Rule 2: the 9th and every later point of a run above the centre signals.
        {"okp_run_of_8_is_silent", ControlKind::Okp, Join({Repeat(0.5, 8), {0.1}}), ""},
        {"okp_run_of_10", ControlKind::Okp, Repeat(0.5, 10), "2:0,1,2,3,4,5,6,7,8 2:1,2,3,4,5,6,7,8,9"},
        {"okp_run_broken_by_point_on_centre", ControlKind::Okp, Join({Repeat(0.5, 4), {c}, Repeat(0.5, 8)}),
         ""},
        {"oke_run_same_side_below", ControlKind::Oke, Repeat(-0.2, 9), "2:0,1,2,3,4,5,6,7,8"},
        {"oke_run_mixed_sides_is_silent", ControlKind::Oke, Join({Repeat(0.2, 5), Repeat(-0.2, 5)}), ""},
        {"oke_run_broken_by_zero", ControlKind::Oke, Join({Repeat(0.2, 4), {0.0}, Repeat(0.2, 5)}), ""},
        // Rule 3: six points, each higher (or, signed, each lower) than the one before.
        {"okp_trend_up_6", ControlKind::Okp, {0.01, 0.02, 0.03, 0.04, 0.05, 0.06}, "3:0,1,2,3,4,5"},
        {"okp_trend_up_5_is_silent", ControlKind::Okp, {0.01, 0.02, 0.03, 0.04, 0.05, 0.0}, ""},
        {"okp_trend_down_is_not_a_signal", ControlKind::Okp, {0.06, 0.05, 0.04, 0.03, 0.02, 0.01}, ""},
        {"okp_trend_broken_by_equal", ControlKind::Okp, {0.01, 0.02, 0.03, 0.03, 0.05, 0.06, 0.07}, ""},
        {"oke_trend_down", ControlKind::Oke, {0.3, 0.2, 0.1, -0.1, -0.2, -0.3}, "3:0,1,2,3,4,5"},
        // Rule 4: 2 of 3 above the warning line, at a point itself above it.
        {"okp_2_of_3_adjacent", ControlKind::Okp, {0.1, 1.1, 1.1}, "4:1,2"},
        {"okp_2_of_3_with_gap", ControlKind::Okp, {1.1, 0.1, 1.1}, "4:0,2"},
        {"okp_2_beyond_window_of_3", ControlKind::Okp, {1.1, 0.1, 0.1, 1.1}, ""},
        {"okp_3_of_3", ControlKind::Okp, {1.1, 1.1, 1.1}, "4:0,1 4:0,1,2"},
        {"okp_completing_point_must_be_beyond", ControlKind::Okp, {1.1, 1.1, 0.1, 0.1}, "4:0,1"},
        {"oke_2_of_3_opposite_warnings", ControlKind::Oke, {1.1, -1.1, 0.2}, ""},
        {"oke_2_of_3_lower_warning", ControlKind::Oke, {-1.1, 0.0, -1.2}, "4:0,2"},
        {"okp_on_warning_line", ControlKind::Okp, {kOkpWarning, 1.1, 0.1}, ""},
        // Rule 5: 4 of 5 beyond the half-warning line.
        {"okp_4_of_5", ControlKind::Okp, {0.8, 0.8, 0.1, 0.8, 0.8}, "5:0,1,3,4"},
        {"okp_4_beyond_window_of_5", ControlKind::Okp, {0.8, 0.8, 0.1, 0.1, 0.8, 0.8}, ""},
        {"oke_4_of_5_same_side", ControlKind::Oke, {-0.6, -0.7, 0.0, -0.6, -0.8}, "5:0,1,3,4"},
        {"oke_4_of_5_mixed_sides", ControlKind::Oke, {0.6, 0.7, 0.0, -0.6, -0.8}, ""},
        // Rule 6: eight points outside the +-0.5 band, on both sides of zero.
        {"oke_8_alternating",
         ControlKind::Oke,
         {0.6, -0.6, 0.6, -0.6, 0.6, -0.6, 0.6, -0.6},
         "6:0,1,2,3,4,5,6,7"},
        {"oke_7_alternating_is_silent", ControlKind::Oke, {0.6, -0.6, 0.6, -0.6, 0.6, -0.6, 0.6, 0.1}, ""},
        {"oke_8_on_half_line_breaks", ControlKind::Oke, {0.6, -0.6, 0.6, -0.5, 0.6, -0.6, 0.6, -0.6}, ""},
        // Phases: no run crosses a boundary.
        {"okp_run_split_by_phase", ControlKind::Okp, Repeat(0.5, 12), "", {}, {6}},
        {"okp_run_after_phase", ControlKind::Okp, Repeat(0.5, 12), "2:3,4,5,6,7,8,9,10,11", {}, {3}},
        {"okp_2_of_3_split_by_phase", ControlKind::Okp, {0.1, 1.1, 1.1}, "", {}, {2}},
        // Exclusions: out of the rules, the points on either side of one are consecutive.
        {"okp_excluded_action_point", ControlKind::Okp, {0.1, 1.5, 0.1}, "", {1}},
        {"okp_run_across_exclusion",
         ControlKind::Okp,
         Join({Repeat(0.5, 4), {0.0}, Repeat(0.5, 5)}),
         "2:0,1,2,3,5,6,7,8,9",
         {4}},
        {"okp_2_of_3_across_exclusion", ControlKind::Okp, {1.1, 0.1, 0.1, 1.1}, "4:0,3", {1}},
    };
    return cases;
}

class RuleTable : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleTable, SignalsAsExpected) {
    const RuleCase& rc = GetParam();
    std::vector<ChartPoint> points(rc.q.size());
    std::size_t phase = 0;
    for (std::size_t i = 0; i < rc.q.size(); ++i) {
        for (std::size_t start : rc.phaseAt)
            if (start == i)
                ++phase;
        points[i].q = rc.q[i];
        points[i].phase = phase;
        points[i].observation.excluded = rc.excluded.count(i) > 0;
    }
    EXPECT_EQ(Describe(FindSignals(rc.kind, LinesOf(rc.kind), points)), rc.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleTable, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace talvex::controlchart
