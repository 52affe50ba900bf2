#include "core/chromatogram/lattice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace talvex {
namespace {

CLattice MakeLattice(std::vector<float> samples, double start, double step) {
    CLattice l;
    l.samples = std::move(samples);
    l.startTime = start;
    l.step = step;
    return l;
}

TEST(LatticeValueAt, InterpolatesInsideAndExtendsEdgeSegmentsOutside) {
    const CLattice l = MakeLattice({1.0f, 3.0f, 2.0f, 6.0f}, 0.5, 0.25);
    struct Case {
        double t;
        double expected;
    } cases[] = {
        {0.5, 1.0},   // exactly at the first sample
        {0.75, 3.0},  // exactly at an inner sample
        {1.25, 6.0},  // exactly at the last sample
        {0.625, 2.0}, // half way between samples 0 and 1
        {1.125, 4.0}, // half way along the last segment
        {1.5, 10.0},  // beyond the last sample: the last segment extended
        {0.25, -1.0}, // before the first sample: the first segment extended
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(l.ValueAt(c.t), c.expected) << "t = " << c.t;
}

TEST(LatticeValueAt, FailsWithFewerThanTwoSamples) {
    EXPECT_THROW(MakeLattice({}, 0, 1).ValueAt(0), std::invalid_argument);
    EXPECT_THROW(MakeLattice({5.0f}, 0, 1).ValueAt(0), std::invalid_argument);
}

TEST(LatticeValueAt, NonFiniteTimesAndZeroStepStayDefined) {
    const CLattice l = MakeLattice({1.0f, 2.0f, 4.0f}, 0, 1);
    EXPECT_TRUE(std::isnan(l.ValueAt(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(l.ValueAt(std::numeric_limits<double>::infinity()), std::numeric_limits<double>::infinity());
    EXPECT_EQ(l.ValueAt(-std::numeric_limits<double>::infinity()), -std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(l.ValueAt(1e300), 2.0 + 2.0 * (1e300 - 1.0));
    // A zero step puts every sample at the start time: both ends of a segment coincide and the segment's
    // first sample is the value; 0/0 at the start time itself picks the first segment.
    const CLattice flat = MakeLattice({1.0f, 2.0f, 4.0f}, 3, 0);
    EXPECT_EQ(flat.ValueAt(3.0), 1.0);
    EXPECT_EQ(flat.ValueAt(2.0), 1.0);
    EXPECT_EQ(flat.ValueAt(4.0), 2.0);
}

} // namespace
} // namespace talvex
