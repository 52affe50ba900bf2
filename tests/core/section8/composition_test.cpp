#include "section8_fixtures.h"

#include "core/common/format.h"
#include "core/messages/message_log.h"

#include <gtest/gtest.h>

#include <cmath>

namespace talvex {
namespace {

using testing::AddComponent;
using testing::Entry;

class CompositionTest : public ::testing::Test {
protected:
    void SetUp() override {
        components_.records.reserve(8);
        pentane_ = &AddComponent(components_, "н-Пентан", 36.06, 1.0, 72.15, 5);
        hexane_ = &AddComponent(components_, "н-Гексан", 68.73, 0.98, 86.18, 6);
        fraction_ = &AddComponent(components_, "F70-80", 75.0, NotSet, 88.61, 6.38);
    }

    ComponentTable components_;
    const ComponentRecord* pentane_ = nullptr;
    const ComponentRecord* hexane_ = nullptr;
    const ComponentRecord* fraction_ = nullptr;
    CondensateProblems problems_;
};

TEST_F(CompositionTest, ComponentsRelateToNPentaneAndFractionsToTheirBoilingPoint) {
    CondensateAnalysis a;
    a.entriesA = {Entry(pentane_, "н-Пентан", 100), Entry(hexane_, "н-Гексан", 200),
                  Entry(fraction_, "F70-80", 1000, true)};
    a.pentaneIndex = 0;
    ASSERT_EQ(a.ComputeComposition(MarkingMethod::A, problems_), 0);
    EXPECT_EQ(a.entriesA[1].responseFactor, 0.98 / 1.0);
    EXPECT_EQ(a.entriesA[2].responseFactor, 1.27739 * std::pow(75.0, -0.04411));
    EXPECT_NEAR(a.entriesA[2].responseFactor, 1.05588, 1e-5);
    EXPECT_EQ(FormatValue(a.entriesA[0].massFraction, 3), "7.397");
    EXPECT_EQ(FormatValue(a.entriesA[1].massFraction, 3), "14.498");
    EXPECT_EQ(FormatValue(a.entriesA[2].massFraction, 3), "78.105");
    EXPECT_NEAR(a.massSumA, 100.0, 1e-12);
    EXPECT_EQ(FormatValue(ComputeMolarMass(a.entriesA, problems_), 3), "86.791");
    EXPECT_TRUE(problems_.Items().empty());
}

TEST_F(CompositionTest, AnEmptyFactorIsMolarMassOverCarbonNumber) {
    ComponentRecord& c = AddComponent(components_, "Гексан-2", 68.0, NotSet, 86.18, 6);
    CondensateAnalysis a;
    a.entriesA = {Entry(pentane_, "н-Пентан", 100), Entry(&c, "Гексан-2", 100)};
    a.pentaneIndex = 0;
    ASSERT_EQ(a.ComputeComposition(MarkingMethod::A, problems_), 0);
    EXPECT_EQ(a.entriesA[1].responseFactor, 86.18 / 6 / 1.0);
}

TEST_F(CompositionTest, EntriesWithoutComponentOrFactorAreFlaggedAndLeftOut) {
    ComponentRecord& bare = AddComponent(components_, "Неведомый", 90.0);
    CondensateAnalysis a;
    a.entriesB = {Entry(pentane_, "н-Пентан", 100), Entry(nullptr, "F600-610", 50, true),
                  Entry(&bare, "Неведомый", 50), Entry(hexane_, "н-Гексан", NotSet)};
    a.pentaneIndex = 0;
    ASSERT_EQ(a.ComputeComposition(MarkingMethod::B, problems_), 0);
    EXPECT_EQ(a.entriesB[0].massFraction, 100.0);
    EXPECT_EQ(a.entriesB[3].responseFactor, NotSet); // no area: not even a factor
    ASSERT_EQ(problems_.Items().size(), 2u);
    EXPECT_TRUE(problems_.Items()[0].notInDatabase);
    EXPECT_TRUE(problems_.Items()[1].noResponseFactor);
    EXPECT_EQ(a.massSumA, 0.0); // the other list is untouched
}

TEST_F(CompositionTest, AZeroNPentaneFactorGivesNoInfinityButFlagsTheComponents) {
    components_.records[0].liquid.fidFactor = 0.0;
    CondensateAnalysis a;
    a.entriesA = {Entry(pentane_, "н-Пентан", 100), Entry(hexane_, "н-Гексан", 200),
                  Entry(fraction_, "F70-80", 1000, true)};
    a.pentaneIndex = 0;
    ASSERT_EQ(a.ComputeComposition(MarkingMethod::A, problems_), 0);
    EXPECT_EQ(a.entriesA[0].massFraction, NotSet);
    EXPECT_EQ(a.entriesA[1].massFraction, NotSet);
    EXPECT_EQ(a.entriesA[2].massFraction, 100.0); // fractions do not depend on n-pentane
    ASSERT_EQ(problems_.Items().size(), 2u);
    EXPECT_TRUE(problems_.Items()[0].noResponseFactor);
    EXPECT_EQ(problems_.Items()[1].name, "н-Гексан");
    EXPECT_EQ(ComputeMolarMass(a.entriesA, problems_), NotSet); // missing fractions spoil the average
}

TEST_F(CompositionTest, ZeroAreasGiveNoCompositionAndNoMolarMass) {
    CondensateAnalysis a;
    a.entriesA = {Entry(pentane_, "н-Пентан", 0), Entry(hexane_, "н-Гексан", 0)};
    a.pentaneIndex = 0;
    EXPECT_EQ(a.ComputeComposition(MarkingMethod::A, problems_), -1);
    EXPECT_EQ(a.massSumA, 0.0);
    EXPECT_EQ(ComputeMolarMass(a.entriesA, problems_), NotSet);
    CondensateAnalysis empty;
    EXPECT_EQ(empty.ComputeComposition(MarkingMethod::A, problems_), -1);
}

TEST(CondensateProblemsTest, OneMessagePerNameWithTheLinesOfItsFlagsInOrder) {
    CondensateProblems problems;
    problems.Problem("н-Гексан").outOfRange = true;
    problems.Problem("F70-80").notInDatabase = true;
    problems.Problem("Н-ГЕКСАН").noResponseFactor = true;
    problems.Problem("н-гексан").outOfRange = true;
    MessageLog log;
    problems.PostProblemMessages(log);
    EXPECT_EQ(log.Texts(kMsgError),
              (std::vector<std::string>{
                  "Компонент \"н-Гексан\" (ДК).\r\n\t"
                  " - Не удалось расчитать относительный коэфф. чувствительности.\r\n\t"
                  " - Не соответствие дипапазона измерений.\r\n\t",
                  "Компонент \"F70-80\" (ДК).\r\n\t - Не найден в таблице компонентов программы.\r\n\t"}));
}

} // namespace
} // namespace talvex
