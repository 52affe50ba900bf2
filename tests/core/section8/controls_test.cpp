#include "section8_fixtures.h"

#include "core/messages/message_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace talvex {
namespace {

using testing::AddComponent;
using testing::AddPeak;
using testing::MakeRun;
using testing::Norm;

CondensateEntry MassEntry(const ComponentRecord* c, double massFraction) {
    CondensateEntry e;
    e.component = c;
    e.name = c->displayName;
    e.massFraction = massFraction;
    return e;
}

class OkpTest : public ::testing::Test {
protected:
    void SetUp() override {
        components_.records.reserve(4);
        c_ = &AddComponent(components_, "н-Гексан", 68.73);
        c_->liquidNorms = {Norm(1, 10, 5, 4, 6)};
        other_ = &AddComponent(components_, "Пропан", -42.1);
        result_.analyses.emplace_back().analysisNo = 0;
        result_.rowsA.emplace_back(); // rows exist
        result_.okpAnalysis.chromatogram = &run_;
    }

    COpenedChmFile run_;
    ComponentTable components_;
    ComponentRecord* c_ = nullptr;
    ComponentRecord* other_ = nullptr;
    CondensateResult result_;
};

TEST_F(OkpTest, TheControlSampleIsComparedWithAnalysisOne) {
    result_.analyses[0].entriesA = {MassEntry(c_, 5.0), MassEntry(other_, 1.0)};
    result_.okpAnalysis.entriesA = {MassEntry(c_, 5.3)};
    BuildOkpItems(result_);
    CheckOkp(result_);
    ASSERT_EQ(result_.okpItemsA.size(), 2u);
    const ControlItem& item = result_.okpItemsA[0];
    EXPECT_EQ(item.firstValue, 5.0);
    EXPECT_EQ(item.secondValue, 5.3); // the control sample's value is shown, not "---"
    EXPECT_EQ(item.discrepancy, std::fabs(5.0 - 5.3));
    EXPECT_EQ(item.limit, (5.0 + 5.3) * 0.5 * (6 * 0.84 / 100));
    EXPECT_NEAR(item.limit, 0.25956, 1e-12);
    EXPECT_FALSE(item.passed);
    EXPECT_EQ(result_.okpItemsA[1].secondEntry, nullptr);
    EXPECT_TRUE(result_.problems.Problem("Пропан").okpMissingSample);
    EXPECT_TRUE(result_.okpItemsB.empty()); // no rows of method B
}

TEST_F(OkpTest, AValueOutsideEveryRangeFailsWithoutAMeaninglessLimit) {
    result_.analyses[0].entriesA = {MassEntry(c_, 20.0)};
    result_.okpAnalysis.entriesA = {MassEntry(c_, 21.0)};
    BuildOkpItems(result_);
    CheckOkp(result_);
    const ControlItem& item = result_.okpItemsA[0];
    EXPECT_EQ(item.normRange, NoMatchingNorm());
    EXPECT_EQ(item.discrepancy, 1.0);
    EXPECT_EQ(item.limit, NotSet);
    EXPECT_FALSE(item.passed);
    EXPECT_TRUE(result_.problems.Problem("н-Гексан").okpOutOfRange);
}

class OkeTest : public ::testing::Test {
protected:
    void SetUp() override {
        components_.records.reserve(8);
        AddComponent(components_, "н-Пентан", 36.06, 1.0).liquid.certifiedValue = 10.0;
        ComponentRecord& heptane = AddComponent(components_, "н-Гептан", 98.4, 1.0);
        heptane.liquidNorms = {Norm(1, 10, 5, 4, 6)};
        heptane.liquid.certifiedValue = 4.0;
        AddComponent(components_, "Толуол", 110.6, 1.0).liquid.certifiedValue = 3.0;
        AddComponent(components_, "F90-100", 95.0);
        AddComponent(components_, "Бензол", 80.1, 1.0);
        run_ = MakeRun({0, 0}, 1.0);
    }

    ComponentTable components_;
    COpenedChmFile run_;
    CondensateResult result_;
    MessageLog log_;
};

TEST_F(OkeTest, MeasuredAgainstCertifiedWithTheFractionsSummed) {
    AddPeak(run_, "н-Пентан", 1, 2, 1.5, 95.9);
    AddPeak(run_, "н-Гептан", 3, 4, 3.5, 4.1);
    AddPeak(run_, "", 5, 6, 5.5, 1.0);
    AddPeak(run_, "Бензол", 5, 6, 5.5, 0.0);
    result_.okeRun = &run_;
    ComputeOke(result_, components_, log_);
    CheckOke(result_);
    EXPECT_EQ(result_.okeWeightedSum, 95.9 + 4.1 + 0.0);
    ASSERT_EQ(result_.okeMeasured.size(), 4u);
    EXPECT_EQ(result_.okeMeasured[2].name, "Без имени-1");
    // By boiling point; the fraction just before the decade of its members, components without one last.
    std::vector<std::string> names;
    for (const ControlItem& item : result_.okeItems)
        names.push_back(item.name);
    EXPECT_EQ(names, (std::vector<std::string>{"н-Пентан", "Бензол", "F90-100", "н-Гептан", "Толуол"}));
    const ControlItem& heptane = result_.okeItems[3];
    EXPECT_EQ(heptane.firstValue, 4.1 / result_.okeWeightedSum * 100.0);
    EXPECT_EQ(heptane.secondValue, 4.0);
    EXPECT_NEAR(heptane.limit, 0.2, 1e-15);
    EXPECT_NEAR(heptane.discrepancy, 0.1, 1e-12);
    EXPECT_TRUE(heptane.passed);
    EXPECT_EQ(result_.okeItems[2].firstValue, heptane.firstValue); // F90-100 gathers n-heptane
    EXPECT_EQ(result_.okeItems[2].secondValue, 4.0);
    EXPECT_EQ(result_.okeItems[4].firstEntry, nullptr);
    EXPECT_TRUE(result_.problems.Problem("Толуол").okeNotInChromatogram);
    EXPECT_TRUE(result_.problems.Problem("Бензол").okeNotInPassport);
    EXPECT_TRUE(log_.Texts(kMsgError).empty());
}

TEST_F(OkeTest, AFractionSumsEveryComponentThatFallsIntoIt) {
    // n-heptane (98.4 °C) and isooctane (99.24 °C) both fall into F90-100, measured and certified.
    AddComponent(components_, "Изооктан", 99.24, 1.0).liquid.certifiedValue = 2.0;
    AddPeak(run_, "н-Пентан", 1, 2, 1.5, 90.0);
    AddPeak(run_, "н-Гептан", 3, 4, 3.5, 4.0);
    AddPeak(run_, "Изооктан", 4, 5, 4.5, 6.0);
    result_.okeRun = &run_;
    ComputeOke(result_, components_, log_);
    const auto item = [this](const std::string& name) -> const ControlItem* {
        const auto it = std::find_if(result_.okeItems.begin(), result_.okeItems.end(),
                                     [&](const ControlItem& i) { return i.name == name; });
        return it == result_.okeItems.end() ? nullptr : &*it;
    };
    const ControlItem* heptane = item("н-Гептан");
    const ControlItem* isooctane = item("Изооктан");
    const ControlItem* fraction = item("F90-100");
    ASSERT_TRUE(heptane && isooctane && fraction);
    EXPECT_EQ(fraction->secondValue, 4.0 + 2.0);
    EXPECT_EQ(fraction->firstValue, heptane->firstValue + isooctane->firstValue);
    EXPECT_GT(heptane->firstValue, 0.0); // both measured: neither alone gives the sum
}

TEST_F(OkeTest, AZeroWeightedSumLeavesTheMeasuredValuesMissingAndSaysSo) {
    AddPeak(run_, "н-Пентан", 1, 2, 1.5, 0.0);
    result_.okeRun = &run_;
    ComputeOke(result_, components_, log_);
    EXPECT_EQ(result_.okeMeasured[0].massFraction, NotSet);
    ASSERT_EQ(log_.Texts(kMsgError).size(), 1u);
    EXPECT_NE(log_.Texts(kMsgError)[0].find("равна нулю"), std::string::npos);
}

} // namespace
} // namespace talvex
