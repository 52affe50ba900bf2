#include "section8_fixtures.h"

#include "core/common/format.h"
#include "core/components/retention_time_table.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

using testing::AddComponent;
using testing::AddPeak;
using testing::MakeRun;

// A ten-minute run, one sample every 0.1 min, whose blank-corrected signal is i % 7 at sample i; its own
// n-paraffins (C5 at 2, C6 at 5, C7 at 8 min) make the calibration.
class MarkingTest : public ::testing::Test {
protected:
    void SetUp() override {
        components_.records.reserve(16);
        AddComponent(components_, "Пропан", -42.1, 14.7, 44.1, 3);
        AddComponent(components_, "н-Пентан", 36.06, 14.43, 72.15, 5);
        AddComponent(components_, "н-Гексан", 68.73, 14.36, 86.18, 6, "F60-70");
        AddComponent(components_, "Бензол", 80.09, 13.02, 78.11, 6, "F80-90");
        AddComponent(components_, "н-Гептан", 98.42, 14.32, 100.2, 7, "F90-100");
        for (int low : {60, 70, 80, 90})
            AddComponent(components_, "F" + std::to_string(low) + "-" + std::to_string(low + 10), low + 5.0,
                         NotSet, 80.0 + low / 10.0, 6.0);
        AddComponent(components_, "F45-60", 52.5, NotSet, 79.2, 5.6);

        std::vector<float> samples(100), blank(100, 1.0f);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = 1.0f + static_cast<float>(i % 7);
        sample_ = MakeRun(samples, 0.1);
        blank_ = MakeRun(blank, 0.1);
        AddPeak(sample_, "Пропан", 0.5, 0.9, 0.7, 5);
        AddPeak(sample_, "н-Пентан", 1.8, 2.2, 2.0, 8);
        AddPeak(sample_, "", 2.5, 2.7, 2.6, 1);
        AddPeak(sample_, "н-Гексан", 4.8, 5.2, 5.0, 9);
        AddPeak(sample_, "Бензол", 5.6, 6.0, 5.8, 3);
        AddPeak(sample_, "н-Гептан", 7.8, 8.2, 8.0, 7);
        ASSERT_TRUE(blankRun_.AttachRun(blank_));
        ASSERT_TRUE(analysis_.AttachRun(sample_));
    }

    const CondensateEntry& Fraction(const std::string& name) const {
        for (const CondensateEntry& e : analysis_.entriesA)
            if (e.name == name)
                return e;
        throw std::runtime_error("no entry " + name);
    }

    ComponentTable components_;
    RetentionTimeTable times_;
    COpenedChmFile sample_, blank_;
    CondensateRun blankRun_;
    CondensateAnalysis analysis_;
    CondensateProblems problems_;
};

TEST_F(MarkingTest, MethodAMarksLightComponentsThenCutsBoilingFractions) {
    analysis_.ProcessAnalysis(blankRun_, BoilingCalibration{}, components_, times_, problems_);
    const BoilingCalibration& cal = analysis_.ownCalibration;
    ASSERT_EQ(cal.temperatures, (std::vector<double>{36.06, 68.73, 98.42}));
    const auto& a = analysis_.entriesA;
    ASSERT_EQ(a.size(), 2u + 54u); // Пропан, н-Пентан, F45-60 … F580-590
    EXPECT_EQ(a[0].name, "Пропан");
    EXPECT_EQ(a[0].area, analysis_.Integrate(0.5, 0.9));
    EXPECT_EQ(a[1].retentionTime, 2.0);
    EXPECT_EQ(analysis_.pentaneIndex, 1);
    EXPECT_EQ(a[2].name, "F45-60");
    EXPECT_EQ(a[2].windowStart, cal.ToRetentionTime(45.0));
    EXPECT_EQ(a[2].windowEnd, cal.ToRetentionTime(60.0));
    EXPECT_EQ(a[2].lowTemp, 45);
    EXPECT_EQ(a[3].name, "F60-70");
    EXPECT_EQ(a.back().name, "F580-590");
    EXPECT_EQ(a.back().component, nullptr);

    const double t70 = cal.ToRetentionTime(70.0), t80 = cal.ToRetentionTime(80.0);
    const auto& I = [&](double x, double y) { return analysis_.Integrate(x, y); };
    // n-hexane straddles F60-70 and F70-80: both give their overlaps to F60-70, its own fraction.
    const CondensateEntry& f60 = Fraction("F60-70");
    EXPECT_EQ(f60.area, (I(f60.windowStart, t70) - I(4.8, t70)) + I(4.8, 5.2));
    // Benzene lies inside F70-80 and belongs to F80-90.
    EXPECT_EQ(Fraction("F70-80").area, (I(t70, t80) - I(t70, 5.2)) - I(5.6, 6.0));
    EXPECT_EQ(Fraction("F80-90").area, I(t80, cal.ToRetentionTime(90.0)) + I(5.6, 6.0));
    // F90-100 reaches past the calibration: n-heptane's peak closes it.
    const CondensateEntry& f90 = Fraction("F90-100");
    EXPECT_EQ(f90.windowEnd, 8.2);
    EXPECT_EQ(f90.area, I(f90.windowStart, 8.2));
    EXPECT_EQ(Fraction("F100-110").windowStart, NotSet);
    EXPECT_EQ(Fraction("F100-110").area, NotSet);

    EXPECT_NEAR(analysis_.massSumA, 100.0, 1e-9);
    EXPECT_TRUE(problems_.Problem("F100-110").notInDatabase);
    // Entries without a component (F100-110 …) take no part in the molar mass.
    EXPECT_EQ(FormatValue(analysis_.molarMassA, 3),
              FormatValue(ComputeMolarMass(analysis_.entriesA, problems_), 3));
    EXPECT_FALSE(IsNotSet(analysis_.molarMassA));
}

TEST_F(MarkingTest, MethodBCutsAtTheEndOfEveryNParaffinFromHexaneOn) {
    analysis_.ProcessAnalysis(blankRun_, BoilingCalibration{}, components_, times_, problems_);
    const auto& b = analysis_.entriesB;
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[2].name, "н-Гексан");
    EXPECT_EQ(b[2].windowStart, 2.2); // the end of n-pentane's peak
    EXPECT_EQ(b[2].windowEnd, 5.2);
    EXPECT_EQ(b[2].area, analysis_.Integrate(2.2, 5.2));
    EXPECT_EQ(b[3].windowStart, 5.2);
    EXPECT_EQ(b[3].retentionTime, NotSet);
    EXPECT_NEAR(analysis_.massSumB, 100.0, 1e-9);
    EXPECT_GT(analysis_.molarMassB, 0.0);
}

TEST_F(MarkingTest, ACalibrationRunTakesPrecedenceOverTheAnalysisOwnPeaks) {
    BoilingCalibration main;
    main.temperatures = {30.0, 100.0};
    main.retentionTimes = {1.0, 9.0};
    analysis_.ProcessAnalysis(blankRun_, main, components_, times_, problems_);
    EXPECT_TRUE(analysis_.ownCalibration.Empty());
    EXPECT_EQ(Fraction("F45-60").windowStart, main.ToRetentionTime(45.0));
}

TEST_F(MarkingTest, WithoutNPentaneTheAnalysisIsMarkedButNotComposed) {
    sample_.peaks[1].name = "Неизвестный";
    analysis_.ProcessAnalysis(blankRun_, BoilingCalibration{}, components_, times_, problems_);
    EXPECT_EQ(analysis_.pentaneIndex, -1);
    EXPECT_FALSE(analysis_.entriesA.empty());
    EXPECT_EQ(analysis_.massSumA, 0.0);
    EXPECT_EQ(analysis_.entriesA[0].massFraction, NotSet);
}

TEST_F(MarkingTest, CarbonNumberSectionsOfAnEmptyListStartAtTheRunStart) {
    sample_.peaks.erase(sample_.peaks.begin(), sample_.peaks.begin() + 3); // no light components
    analysis_.SubtractBlank(blankRun_);
    analysis_.AddCarbonNumberEntries(components_);
    ASSERT_EQ(analysis_.entriesB.size(), 2u);
    EXPECT_EQ(analysis_.entriesB[0].windowStart, 0.0);
    EXPECT_EQ(analysis_.entriesB[0].windowEnd, 5.2);
}

TEST(MarkComponentsTest, GroupMembersJoinTheGroupWhichTakesItsOwnComponentsWindow) {
    ComponentTable components;
    components.records.reserve(4);
    AddComponent(components, "Пропан", -42.1);
    AddComponent(components, "изо-Бутан", -11.7, NotSet, NotSet, NotSet, "н-Бутан");
    AddComponent(components, "н-Бутан", -0.5, NotSet, NotSet, NotSet, "н-Бутан");
    AddComponent(components, "н-Пентан", 36.06);
    COpenedChmFile run = MakeRun(std::vector<float>(30, 0.0f), 0.1);
    AddPeak(run, "Пропан", 0.5, 0.7, 0.6, 2);
    AddPeak(run, "изо-Бутан", 1.0, 1.2, 1.1, 3);
    AddPeak(run, "н-Бутан", 1.4, 1.6, 1.5, 4);
    AddPeak(run, "н-Пентан", 1.8, 2.2, 2.0, 5);
    CondensateAnalysis a;
    a.AttachRun(run);
    a.SubtractBlank(a); // a zero signal: areas come from the peak table
    a.MarkComponents(components);
    ASSERT_EQ(a.entriesA.size(), 3u);
    EXPECT_EQ(a.entriesA[1].name, "н-Бутан");
    EXPECT_EQ(a.entriesA[1].area, 3.0 + 4.0);
    EXPECT_EQ(a.entriesA[1].groupPeaks.size(), 2u);
    EXPECT_EQ(a.entriesA[1].peak, nullptr);
    EXPECT_EQ(a.entriesA[1].windowStart, 1.4);
    EXPECT_EQ(a.entriesA[1].windowEnd, 1.6);
    EXPECT_EQ(a.entriesA[2].name, "н-Пентан");
    EXPECT_EQ(a.pentaneIndex, 2);
    EXPECT_EQ(a.entriesB.size(), 3u);
}

} // namespace
} // namespace talvex
