#include "core/chromatogram/peaks_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace talvex {
namespace {

// A table with its signal; peaks are given by their stored fields, then recomputed from the signal.
struct Fixture {
    CLattice signal;
    CPeeksTable table;

    Fixture(std::vector<float> samples, double start = 0.0, double step = 1.0) {
        signal.samples = std::move(samples);
        signal.startTime = start;
        signal.step = step;
    }
    cmpeek& Add(double begin, double end, int next = -1) {
        cmpeek p;
        p.index = static_cast<int>(table.size());
        p.beginTime = begin;
        p.endTime = end;
        p.nextLinked = next;
        table.push_back(p);
        return table.back();
    }
};

TEST(RecomputePeaks, TrapezoidAreaApexAndHeightOfASimplePeak) {
    Fixture f({0, 0, 1, 2, 1, 0, 0});
    f.Add(1, 5);
    f.table.RecomputePeaks(f.signal);
    const cmpeek& p = f.table[0];
    EXPECT_DOUBLE_EQ(p.area, 4.0);
    EXPECT_DOUBLE_EQ(p.height, 2.0);
    EXPECT_DOUBLE_EQ(p.retentionTime, 3.0);
    EXPECT_EQ(p.baselineStart, 0.0);
    EXPECT_EQ(p.baselineEnd, 0.0);
}

TEST(RecomputePeaks, IncludesThePartialIntervalsAtBothEnds) {
    Fixture f({0, 0, 1, 2, 1, 0, 0});
    f.Add(0.5, 4.5);
    f.table.RecomputePeaks(f.signal);
    const cmpeek& p = f.table[0];
    // Signal from 0.5 to 4.5 by trapezoids: 0 + 0.5 + 1.5 + 1.5 + 0.375; baseline from 0 to 0.5 over 4 min.
    EXPECT_DOUBLE_EQ(p.area, 3.875 - 1.0);
    EXPECT_DOUBLE_EQ(p.baselineEnd, 0.5);
    EXPECT_DOUBLE_EQ(p.retentionTime, 3.0);
    EXPECT_DOUBLE_EQ(p.height, 2.0 - 0.3125);
}

TEST(RecomputePeaks, SignalAtTheBoundsIsRoundedToSinglePrecision) {
    Fixture f({0, 1, 1, 1});
    f.Add(1.0 / 3.0, 3);
    f.table.RecomputePeaks(f.signal);
    EXPECT_EQ(f.table[0].baselineStart, static_cast<double>(static_cast<float>(1.0 / 3.0)));
    EXPECT_NE(f.table[0].baselineStart, 1.0 / 3.0);
}

TEST(RecomputePeaks, EdgeSamplesAreSummedInSinglePrecision) {
    // 16777216 + 1 is 16777216 in single precision, so half a minute-unit of area stays.
    Fixture f({16777216.0f, 1.0f, 0.0f});
    f.Add(0, 1);
    f.table.RecomputePeaks(f.signal);
    EXPECT_DOUBLE_EQ(f.table[0].area, 0.5);
}

TEST(RecomputePeaks, PeakBetweenTwoSamplesHasItsApexAtTheMiddleAndNoArea) {
    Fixture f({0, 0, 4, 0, 0});
    f.Add(2.2, 2.8);
    f.table.RecomputePeaks(f.signal);
    const cmpeek& p = f.table[0];
    EXPECT_DOUBLE_EQ(p.retentionTime, 2.5);
    EXPECT_DOUBLE_EQ(p.height, 0.0);
    // Signal trapezoid minus baseline trapezoid: the same straight line, so nothing is left.
    EXPECT_DOUBLE_EQ(p.area, 0.0);
}

TEST(RecomputePeaks, LinkedPeakBetweenSamplesGetsTheAreaAboveTheCommonBaseline) {
    Fixture f({0, 0, 4, 0, 0, 0});
    f.Add(1, 2, 1);
    f.Add(2.25, 2.75, 2);
    f.Add(3, 4);
    f.table.RecomputePeaks(f.signal);
    const cmpeek& p = f.table[1];
    // The common baseline is 0; the signal falls from 3 to 1 across the peak.
    EXPECT_DOUBLE_EQ(p.height, 2.0);
    EXPECT_DOUBLE_EQ(p.area, 2.0 * 0.5);
}

TEST(RecomputePeaks, ChainSharesOneStraightBaseline) {
    // Drifting baseline 10 + t with three peaks on it.
    std::vector<float> y;
    for (int k = 0; k <= 20; ++k)
        y.push_back(10.0f + k + (k == 5 ? 6.0f : 0.0f) + (k == 10 ? 8.0f : 0.0f) + (k == 15 ? 4.0f : 0.0f));
    Fixture f(y);
    f.Add(2, 7, 1);
    f.Add(7, 12, 2);
    f.Add(12, 18);
    f.table.RecomputePeaks(f.signal);
    EXPECT_EQ(f.table[0].prevLinked, -1);
    EXPECT_EQ(f.table[1].prevLinked, 0);
    EXPECT_EQ(f.table[2].prevLinked, 1);
    const double sa = 12.0, sb = 28.0; // S(2) and S(18)
    for (const cmpeek& p : f.table) {
        EXPECT_DOUBLE_EQ(p.baselineStart, sa + (p.beginTime - 2) * (sb - sa) / 16) << p.index;
        EXPECT_DOUBLE_EQ(p.baselineEnd, sa + (p.endTime - 2) * (sb - sa) / 16) << p.index;
    }
    EXPECT_DOUBLE_EQ(f.table[0].area, 6.0);
    EXPECT_DOUBLE_EQ(f.table[1].area, 8.0);
    EXPECT_DOUBLE_EQ(f.table[2].area, 4.0);
    EXPECT_DOUBLE_EQ(f.table[1].retentionTime, 10.0);
}

TEST(RecomputePeaks, RiderKeepsItsAreaAndTheHostLosesIt) {
    Fixture f({0, 1, 2, 3, 5, 3, 2, 1, 0});
    f.Add(0, 8);
    f.Add(3, 5); // wholly inside the host
    f.table.RecomputePeaks(f.signal);
    const double riderArea = (3 + 5) / 2.0 + (5 + 3) / 2.0 - (3 + 3) / 2.0 * 2; // above its own baseline
    EXPECT_DOUBLE_EQ(f.table[1].area, riderArea);
    EXPECT_DOUBLE_EQ(f.table[0].area, 17.0 - riderArea);
}

TEST(RecomputePeaks, PeaksWithIdenticalBoundsSubtractEachOthersCurrentArea) {
    Fixture f({0, 0, 2, 0, 0});
    f.Add(1, 3);
    f.Add(1, 3);
    f.table.RecomputePeaks(f.signal);
    EXPECT_DOUBLE_EQ(f.table[0].area, 0.0); // 2 - 2
    EXPECT_DOUBLE_EQ(f.table[1].area, 2.0); // 2 - 0, the first already reduced
}

TEST(RecomputePeaks, EveryHostLosesEachOfItsRidersInTableOrder) {
    // Unlinked peaks of many shapes (nested several deep, shared bounds, reversed, infinite or NaN bounds)
    // against the rule itself: each peak's own area, computed alone, then every host in table order loses
    // the current area of every peak wholly inside it, in table order. Compared to the bit.
    std::vector<float> samples(64);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(std::sin(0.7 * static_cast<double>(i)) * 9.1 + 10.3); // inexact sums
    std::vector<std::pair<double, double>> bounds = {{2, 40},
                                                     {5, 10},
                                                     {5, 10},
                                                     {6, 8},
                                                     {20, 30},
                                                     {21.5, 29.5},
                                                     {22, 22},
                                                     {35, 5},
                                                     {8, 6},
                                                     {0, 63},
                                                     {-INFINITY, INFINITY},
                                                     {std::nan(""), 9},
                                                     {3, std::nan("")},
                                                     {40, 50},
                                                     {40, 2}};
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) * 62.0;
    };
    for (int i = 0; i < 60; ++i) {
        const double a = next();
        const double b = i % 7 == 0 ? next() : a + next() / 8; // some reversed, most short and ordered
        bounds.emplace_back(std::round(a * 2) / 2, std::round(b * 2) / 2);
    }
    for (auto& [begin, end] : bounds) { // a step of 0.1 min makes every sum round
        begin *= 0.1;
        end *= 0.1;
    }
    Fixture f(samples, 0.0, 0.1);
    std::vector<double> own;
    for (const auto& [begin, end] : bounds) {
        f.Add(begin, end);
        Fixture alone(samples, 0.0, 0.1);
        alone.Add(begin, end);
        alone.table.RecomputePeaks(alone.signal);
        own.push_back(alone.table[0].area);
    }
    for (std::size_t j = 0; j < bounds.size(); ++j)
        for (std::size_t k = 0; k < bounds.size(); ++k)
            if (k != j && bounds[k].first >= bounds[j].first && bounds[k].second <= bounds[j].second)
                own[j] = own[j] - own[k];
    f.table.RecomputePeaks(f.signal);
    for (std::size_t j = 0; j < bounds.size(); ++j)
        EXPECT_EQ(std::memcmp(&f.table[j].area, &own[j], sizeof(double)), 0)
            << j << ": " << f.table[j].area << " against " << own[j];
}

TEST(RecomputePeaks, NegativePeakHasPositiveHeightAndNegativeArea) {
    Fixture f({5, 5, 3, 1, 3, 5, 5});
    f.Add(1, 5);
    f.table.RecomputePeaks(f.signal);
    EXPECT_DOUBLE_EQ(f.table[0].height, 4.0);
    EXPECT_DOUBLE_EQ(f.table[0].area, 12.0 - 20.0);
    EXPECT_DOUBLE_EQ(f.table[0].retentionTime, 3.0);
}

TEST(RecomputePeaks, EarliestOfEqualMaximaIsTheApex) {
    Fixture f({0, 3, 1, 3, 0});
    f.Add(0, 4);
    f.table.RecomputePeaks(f.signal);
    EXPECT_DOUBLE_EQ(f.table[0].retentionTime, 1.0);
}

TEST(RecomputePeaks, BoundsOutsideTheSignalUseTheExtendedEdgeSegments) {
    Fixture f({0, 2, 2, 0});
    f.Add(-1, 4);
    f.table.RecomputePeaks(f.signal);
    const cmpeek& p = f.table[0];
    EXPECT_DOUBLE_EQ(p.baselineStart, -2.0); // S(-1) on the first segment extended
    EXPECT_DOUBLE_EQ(p.baselineEnd, -2.0);
    // Samples 0..3 by trapezoids (4) plus the extended ends (-1 each), minus the baseline (-2 over 5 min).
    EXPECT_DOUBLE_EQ(p.area, 4.0 - 1.0 - 1.0 + 10.0);
}

TEST(RecomputePeaks, ReversedBoundsFollowTheSameFormulas) {
    Fixture f({0, 0, 4, 0, 0});
    f.Add(3, 1);
    f.table.RecomputePeaks(f.signal);
    const cmpeek& p = f.table[0];
    EXPECT_DOUBLE_EQ(p.retentionTime, 2.0); // no sample inside: the middle
    EXPECT_DOUBLE_EQ(p.area, 0.0);
}

TEST(RecomputePeaks, LinksOutsideTheTableAreDroppedAndLastPredecessorWins) {
    Fixture f({0, 1, 2, 1, 0, 1, 0});
    f.Add(0, 2, 7);
    f.Add(1, 2, 3);
    f.Add(2, 3, 3);
    f.Add(3, 4, -5);
    f.table.RecomputePeaks(f.signal);
    EXPECT_EQ(f.table[0].nextLinked, -1);
    EXPECT_EQ(f.table[3].nextLinked, -1);
    EXPECT_EQ(f.table[3].prevLinked, 2);
}

TEST(RecomputePeaks, LinkCyclesEndTheWalkAndPureCyclesCountAsUnlinked) {
    Fixture f({0, 1, 3, 1, 0, 2, 0, 0});
    f.Add(0, 2, 1); // a chain that runs into the cycle 1 -> 2 -> 1
    f.Add(2, 4, 2);
    f.Add(4, 6, 1);
    f.Add(5, 6, 4); // the pure cycle 3 <-> 4
    f.Add(6, 7, 3);
    f.table.RecomputePeaks(f.signal);
    // The chain 0 -> 1 -> 2 ends where the walk comes back: one baseline from S(0) to S(6).
    EXPECT_DOUBLE_EQ(f.table[2].baselineEnd, 0.0);
    EXPECT_DOUBLE_EQ(f.table[1].baselineStart, 0.0);
    // Peaks reached by no chain start get their own baselines.
    EXPECT_DOUBLE_EQ(f.table[3].baselineStart, 2.0);
    EXPECT_DOUBLE_EQ(f.table[4].baselineStart, 0.0);
}

TEST(RecomputePeaks, NonFiniteAndHugeValuesStayDefined) {
    Fixture f({0, std::nanf(""), 1, 0});
    f.Add(0, 3);
    f.Add(-1e308, 1e308);
    f.Add(std::nan(""), 2);
    f.table.RecomputePeaks(f.signal);
    EXPECT_TRUE(std::isnan(f.table[0].area));
    EXPECT_TRUE(std::isnan(f.table[2].area));
}

TEST(RecomputePeaks, FailsWhenPeaksExistButTheSignalHasOneSample) {
    Fixture f({1.0f});
    f.table.RecomputePeaks(f.signal); // no peaks: nothing to compute
    f.Add(0, 1);
    EXPECT_THROW(f.table.RecomputePeaks(f.signal), std::invalid_argument);
}

} // namespace
} // namespace talvex
