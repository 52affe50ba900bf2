#include "section8_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace talvex {
namespace {

using testing::MakeRun;

TEST(CondensateRunTest, BaselineLevelAveragesTheFirstSecondWithinOneDeviation) {
    // step 0.005 min = 0.3 s: three samples in the first second; 9 lies outside mean 4 ± 3.56.
    const COpenedChmFile c = MakeRun({1, 2, 9, 50, 60}, 0.005, 1.5);
    CondensateRun run;
    ASSERT_TRUE(run.AttachRun(c));
    EXPECT_EQ(run.chromatogram, &c);
    EXPECT_EQ(run.levelPoints, 3);
    EXPECT_DOUBLE_EQ(run.step, 0.005);
    EXPECT_DOUBLE_EQ(run.startTime, 1.5);
    EXPECT_DOUBLE_EQ(run.baselineLevel, 1.5);
}

TEST(CondensateRunTest, AFlatFirstSecondHasItsOwnValueAsLevel) {
    const COpenedChmFile c = MakeRun({5, 5, 5, 7}, 0.005);
    CondensateRun run;
    ASSERT_TRUE(run.AttachRun(c));
    EXPECT_DOUBLE_EQ(run.baselineLevel, 5.0); // no sample lies strictly inside an empty band
}

TEST(CondensateRunTest, AStepLongerThanASecondTakesTheFirstSampleAsLevel) {
    const COpenedChmFile c = MakeRun({4, 8, 9}, 0.05); // 3 s per sample
    CondensateRun run;
    ASSERT_TRUE(run.AttachRun(c));
    EXPECT_EQ(run.levelPoints, 0);
    EXPECT_DOUBLE_EQ(run.baselineLevel, 4.0);
}

TEST(CondensateRunTest, ARunShorterThanOneSecondCannotBeAttached) {
    const COpenedChmFile c = MakeRun({1, 2}, 0.001); // 16 samples make a second
    CondensateRun run;
    EXPECT_FALSE(run.AttachRun(c));
    EXPECT_TRUE(IsNotSet(run.baselineLevel));
}

TEST(CondensateAnalysisTest, SubtractBlankAddsTheDifferenceOfTheLevelsAndClipsAtZero) {
    const COpenedChmFile sample = MakeRun({5, 6, 7, 8}, 1.0);
    const COpenedChmFile blankRun = MakeRun({1, 1, 10}, 0.5, 1.0);
    CondensateAnalysis a;
    a.chromatogram = &sample;
    a.baselineLevel = 2.0;
    CondensateRun blank;
    blank.chromatogram = &blankRun;
    blank.step = 0.5;
    blank.startTime = 1.0;
    blank.baselineLevel = 0.5;
    a.SubtractBlank(blank);
    EXPECT_EQ(a.corrected, (std::vector<double>{5.5, 6.5, 0.0}));
    // On the blank's time axis.
    EXPECT_EQ(a.SampleTime(0), 1.0);
    EXPECT_EQ(a.SampleTime(2), 2.0);
}

TEST(CondensateAnalysisTest, IntegrateFollowsTheSectionRule) {
    CondensateAnalysis a;
    a.step = 1.0;
    a.startTime = 0.0;
    a.corrected = {1, 2, 3, 4, 5, 6};
    a.sampleStep = 1.0;
    a.sampleStart = 0.0;
    const double big = std::numeric_limits<double>::max();
    const struct {
        double t1, t2, expected;
    } cases[] = {
        {1.2, 3.7, (2 + 3 + 4 + 5) + 0.5 * 2 + 0.5 * 5}, // between samples: the ends count 1.5
        {1.0, 4.0, (2 + 3) + 0.5 * 2 + 0.5 * 5},         // both bounds on samples: two terms fewer
        {2.0, 2.0, 3.0},                                 // n = -1: the sample itself
        {3.7, 1.2, NotSet},                              // reversed bounds
        {NotSet, 2.0, NotSet},
        {2.0, big, NotSet},
        {2.0, std::numeric_limits<double>::infinity(), NotSet},
        {std::nan(""), 2.0, NotSet},
        {2.0, 5.6, NotSet},                       // past the last sample
        {-3.2, 1.2, (1 + 2) + 0.5 * 1 + 0.5 * 2}, // before the run: from its first sample
    };
    for (const auto& c : cases)
        EXPECT_EQ(a.Integrate(c.t1, c.t2), c.expected) << c.t1 << " " << c.t2;
}

TEST(CondensateAnalysisTest, IntegrateHoldsIndicesToACorrectedSignalOnAnotherGrid) {
    CondensateAnalysis a;
    a.step = 1.0;
    a.startTime = 0.0;
    a.corrected = {1, 2, 3, 4}; // the blank had four samples ...
    a.sampleStep = 2.0;         // ... two minutes apart
    a.sampleStart = 0.0;
    EXPECT_EQ(a.Integrate(3.2, 5.8), 4 + 0.5 * 4 + 0.5 * 4); // index 6 held to the last sample, 3
    a.corrected.clear();
    EXPECT_EQ(a.Integrate(0.0, 1.0), NotSet);
}

} // namespace
} // namespace talvex
