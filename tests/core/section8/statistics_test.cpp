#include "section8_fixtures.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

using testing::AddComponent;
using testing::Norm;

// Analyses whose entries carry given mass fractions, as the composition leaves them.
class StatisticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        components_.records.reserve(4);
        normed_ = &AddComponent(components_, "н-Гексан", 68.73, 1.0, 86.18, 6);
        normed_->liquidNorms = {Norm(0.1, 0.5, 8, 5, 9), Norm(0.5, 2, 4, 10, 12)};
        plain_ = &AddComponent(components_, "Пропан", -42.1, 1.0, 44.1, 3);
    }

    CondensateAnalysis& Analysis(std::int32_t no,
                                 std::vector<std::pair<const ComponentRecord*, double>> fractions) {
        CondensateAnalysis& a = result_.analyses.emplace_back();
        a.analysisNo = no;
        for (const auto& [c, v] : fractions) {
            CondensateEntry& e = a.entriesA.emplace_back();
            e.component = c;
            e.name = c->displayName;
            e.massFraction = v;
            e.responseFactor = 1.0;
        }
        return a;
    }

    CondensateResult result_;
    ComponentTable components_;
    ComponentRecord* normed_ = nullptr;
    ComponentRecord* plain_ = nullptr;
};

TEST_F(StatisticsTest, ThreeAnalysesGiveAverageSpreadAndAccuracy) {
    result_.analyses.reserve(3);
    Analysis(0, {{normed_, 1.00}});
    Analysis(1, {{normed_, 1.10}});
    Analysis(2, {{normed_, 1.05}});
    BuildCondensateRows(result_);
    ComputeRowStatistics(result_);
    ASSERT_EQ(result_.rowsA.size(), 1u);
    const CondensateRow& r = result_.rowsA[0];
    EXPECT_EQ(r.analysisCount, 3);
    EXPECT_EQ(r.average, (1.00 + 1.10 + 1.05) / 3);
    EXPECT_EQ(r.discrepancy, (1.10 - 1.00) / r.average * 100.0);
    EXPECT_NEAR(r.discrepancy, 9.5238, 1e-4);
    EXPECT_TRUE(r.repeatabilityOk);
    EXPECT_EQ(r.accuracy, 4 * 0.01 * r.average);
    EXPECT_EQ(r.normRange, &normed_->liquidNorms[1]);
    EXPECT_EQ(result_.totalA, r.average);
    EXPECT_EQ(result_.averageMolarMassA, 100.0 / (r.average / 86.18));
    EXPECT_TRUE(result_.problems.Items().empty());
    EXPECT_TRUE(result_.rowsB.empty());
}

TEST_F(StatisticsTest, AComponentOfOneAnalysisIsAveragedOverItsOwnEntryAndFlagged) {
    result_.analyses.reserve(2);
    Analysis(0, {{plain_, 2.0}});
    Analysis(1, {{normed_, 1.0}});
    BuildCondensateRows(result_);
    ComputeRowStatistics(result_);
    ASSERT_EQ(result_.rowsA.size(), 2u);
    EXPECT_EQ(result_.rowsA[0].average, 2.0);
    EXPECT_EQ(result_.rowsA[1].perAnalysis.begin()->first, 1);
    EXPECT_EQ(result_.rowsA[1].discrepancy, NotSet); // not in every analysis: no spread
    EXPECT_EQ(result_.rowsA[1].normRange, &normed_->liquidNorms[1]);
    ASSERT_EQ(result_.problems.Items().size(), 2u);
    EXPECT_TRUE(result_.problems.Items()[0].notInAllAnalyses);
    EXPECT_TRUE(result_.problems.Items()[1].notInAllAnalyses);
}

TEST_F(StatisticsTest, AMissingValueCountsAsNothingButTheDivisorKeepsEveryEntry) {
    result_.analyses.reserve(3);
    Analysis(0, {{plain_, 3.0}});
    Analysis(1, {{plain_, NotSet}});
    Analysis(2, {{plain_, 1.5}});
    BuildCondensateRows(result_);
    ComputeRowStatistics(result_);
    EXPECT_EQ(result_.rowsA[0].average, (3.0 + 1.5) / 3);
    EXPECT_EQ(result_.rowsA[0].normRange, nullptr); // no norms at all
}

TEST_F(StatisticsTest, AnAverageOutsideEveryRangeIsFlagged) {
    result_.analyses.reserve(2);
    Analysis(0, {{normed_, 5.0}});
    Analysis(1, {{normed_, 6.0}});
    BuildCondensateRows(result_);
    ComputeRowStatistics(result_);
    EXPECT_EQ(result_.rowsA[0].normRange, NoMatchingNorm());
    EXPECT_EQ(result_.rowsA[0].discrepancy, NotSet);
    EXPECT_TRUE(result_.problems.Problem("н-Гексан").outOfRange);
}

TEST_F(StatisticsTest, OneAnalysisHasRowsButNoAverages) {
    Analysis(0, {{normed_, 1.0}, {normed_, 2.0}});
    BuildCondensateRows(result_);
    ComputeRowStatistics(result_);
    ASSERT_EQ(result_.rowsA.size(), 2u); // duplicate names of the first analysis stay separate rows
    EXPECT_EQ(result_.rowsA[0].average, NotSet);
    EXPECT_EQ(result_.totalA, 0.0);
    EXPECT_EQ(result_.averageMolarMassA, NotSet);
    EXPECT_TRUE(result_.problems.Items().empty());
}

} // namespace
} // namespace talvex
