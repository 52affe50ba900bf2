#include "section7_fixtures.h"

#include "russian_locale.h"

#include "core/section7/air_correction.h"
#include "core/section7/blank_correction.h"
#include "core/section7/composition.h"
#include "core/section7/detector_slot.h"
#include "core/section7/mass_fractions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvex {
namespace {

using testing::Chromatogram;
using ::testing::ElementsAre;
using testing::GasComponent;
using testing::GasWorld;
using ::testing::IsEmpty;
using testing::Peak;

// A run whose corrected signal is 1 everywhere (the area of a window on samples is its length) and whose
// calibration is rt = boiling point / 10.
class BuildCompositionTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.components.records = {
            GasComponent("Метан", -161.48, 16.043, 16.043, 0.4494, 1),
            GasComponent("Компонент А", 50, 86, 14, NotSet, 6, "Компонент Икс"),
            GasComponent("Компонент Икс", 55, 86, 14, NotSet, 6, "Компонент Икс, F45-60"),
            GasComponent("Компонент Б", 60, 86, 14, NotSet, 6, "Компонент Икс, F60-70"),
            GasComponent("Поздний", 100, 100, 14, NotSet, 7),
            GasComponent("Тяжелый", 80, 100, 14, NotSet, 7, "н-Бутан, F60-70"),
            GasComponent("Странный", 70, 100, 14, NotSet, 7, "Нет такого"),
            GasComponent("F60-70", 65, 90, 14, NotSet, 6),
            GasComponent("F70-80", 75, 95, 14, NotSet, 6),
            GasComponent("F80-90", 85, 98, 14, NotSet, 7),
        };
    }

    GasAnalysis& Analysis(std::vector<cmpeek> peaks) {
        fid = Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kSample, 0, std::move(peaks),
                           std::vector<float>(161, 1.0f), 0.25);
        a.number = 0;
        SetSlot(a.fid, fid);
        LoadPeakEntries(a.fid, w.components, w.log);
        a.calibration = {{nullptr, 0, 0}, {nullptr, 400, 40}};
        CorrectBlank(a, DetectorSlot{}, w.log); // no blank: the FID signal, 1 everywhere
        return a;
    }

    static std::vector<std::string> Names(const std::vector<GasLine>& lines) {
        std::vector<std::string> names;
        for (const GasLine& l : lines)
            names.push_back(l.name);
        return names;
    }

    static const GasLine& Line(const std::vector<GasLine>& lines, const std::string& name) {
        for (const GasLine& l : lines)
            if (l.name == name)
                return l;
        throw std::runtime_error("no line " + name);
    }

    GasWorld w;
    COpenedChmFile fid;
    GasAnalysis a;
};

TEST_F(BuildCompositionTest, GroupsMergeIntoTheNamedComponentsLineInTimeOrder) {
    GasAnalysis& an = Analysis({Peak("Метан", 7, 1.2, 1.0, 1.5), Peak("Компонент А", 7, 2.2, 2.0, 2.5),
                                Peak("Компонент Икс", 7, 3.2, 3.0, 3.5),
                                Peak("Компонент Б", 7, 4.2, 4.0, 4.5), Peak("Поздний", 7, 5.2, 5.0, 5.5)});
    std::vector<GasLine> lines;
    BuildComposition(an, kComponentThreshold, lines, w.Context());
    EXPECT_THAT(Names(lines), ElementsAre("Метан", "Компонент Икс", "Поздний", "F180-190", "F190-200",
                                          "F200-210", "F210-220", "F220-230"));
    const GasLine& x = Line(lines, "Компонент Икс");
    EXPECT_DOUBLE_EQ(x.area, 1.5); // three peaks of 0.5
    EXPECT_EQ(x.mergedEntries.size(), 3u);
    EXPECT_EQ(x.beginTime, 3.0); // the window of X's own peak
    EXPECT_EQ(x.endTime, 3.5);
    const GasLine& first = Line(lines, "F180-190");
    EXPECT_EQ(first.beginTime, 17.5); // the retention time of 175 °C
    EXPECT_EQ(first.endTime, 19.0);
    EXPECT_DOUBLE_EQ(first.area, 1.5);
    EXPECT_EQ(Line(lines, "F220-230").endTime, 23.0);
    EXPECT_THAT(w.Texts(kMsgError), IsEmpty());
}

TEST_F(BuildCompositionTest, FractionsStartAtTheThresholdAndAPeakMovesIntoItsGroupsFraction) {
    GasAnalysis& an = Analysis({Peak("Метан", 7, 1.2, 1.0, 1.5), Peak("Тяжелый", 7, 8.0, 7.5, 8.5)});
    std::vector<GasLine> lines;
    BuildComposition(an, kFractionThreshold, lines, w.Context());
    ASSERT_EQ(lines.size(), 19u); // Метан, F45-60, F60-70 … F220-230
    EXPECT_EQ(lines[1].name, "F45-60");
    EXPECT_EQ(lines[1].beginTime, 4.5);
    EXPECT_EQ(lines[1].endTime, 6.0);
    EXPECT_DOUBLE_EQ(Line(lines, "Метан").area, 0.5);
    EXPECT_DOUBLE_EQ(Line(lines, "F60-70").area, 1.0 + 1.0); // its own window plus the whole moved peak
    EXPECT_DOUBLE_EQ(Line(lines, "F70-80").area, 1.0 - 0.5);
    EXPECT_DOUBLE_EQ(Line(lines, "F80-90").area, 1.0 - 0.5);
    EXPECT_EQ(Line(lines, "F60-70").lowT, 60);
    EXPECT_EQ(Line(lines, "F60-70").highT, 70);
}

TEST_F(BuildCompositionTest, FirstFractionFollowsTheLastIndividualLine) {
    // The last line ends at 17.73 min = 177.3 °C: the fractions begin with F180-190.
    w.components.records.push_back(GasComponent("Почти", 170, 140, 14, NotSet, 10));
    GasAnalysis& an = Analysis({Peak("Почти", 7, 17.6, 17.5, 17.73)});
    std::vector<GasLine> lines;
    BuildComposition(an, kComponentThreshold, lines, w.Context());
    EXPECT_THAT(Names(lines),
                ElementsAre("Почти", "F180-190", "F190-200", "F200-210", "F210-220", "F220-230"));
    EXPECT_EQ(lines[1].beginTime, 17.73);
}

TEST_F(BuildCompositionTest, AGroupNamingNoComponentKeepsThePeakSingleAndIsReported) {
    GasAnalysis& an = Analysis({Peak("Странный", 7, 3.2, 3.0, 3.5)});
    std::vector<GasLine> lines;
    BuildComposition(an, kComponentThreshold, lines, w.Context());
    EXPECT_EQ(lines[0].name, "Странный");
    EXPECT_EQ(lines[0].sourceEntry, &an.fid.entries[0]);
    EXPECT_THAT(w.Texts(kMsgError),
                ElementsAre("Некоторым компонентам неверно задана группа, они размечены как "
                            "индивидуальные компоненты (ГД):\r\n\t\t - Странный (задна группа: Нет "
                            "такого)\r\n"));
}

TEST_F(BuildCompositionTest, APeakThatCannotBeIntegratedIsLeftInPlaceAndReported) {
    GasAnalysis& an = Analysis({Peak("Тяжелый", 7, 8.0, 7.5, 80.0)}); // ends after the signal
    std::vector<GasLine> lines;
    BuildComposition(an, kFractionThreshold, lines, w.Context());
    EXPECT_DOUBLE_EQ(Line(lines, "F60-70").area, 1.0);
    EXPECT_DOUBLE_EQ(Line(lines, "F70-80").area, 1.0);
    EXPECT_THAT(w.Texts(kMsgError),
                ElementsAre("Площади следующих фракций неудалось пересчитать с учетом переносимых "
                            "пиков (ГД):\r\n\t\t - Тяжелый\r\n"));
}

TEST(MassFractionsTest, WeightedAreasShareTheHundredPercent) {
    GasWorld w;
    w.components.records = {GasComponent("Метан", -161.48, 16.043, 2, 0.5, 1),
                            GasComponent("Этан", -88.6, 30.07, 1, NotSet, 2)};
    GasAnalysis a;
    a.number = 0;
    std::vector<GasLine> lines(4);
    const struct {
        const char* name;
        std::int32_t detector;
        double area;
    } plan[] = {
        {"Метан", kFidLine, 10}, {"Этан", kFidLine, 30}, {"Этан", kTcdLine, 5}, {"Неизвестный", kFidLine, 3}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].name = plan[i].name;
        lines[i].component = w.Find(plan[i].name);
        lines[i].detector = plan[i].detector;
        lines[i].area = plan[i].area;
    }
    GasContext ctx = w.Context();
    ComputeMassFractions(a, lines, kFractionComposition, ctx);
    EXPECT_DOUBLE_EQ(lines[0].massFraction, 20.0 / 50 * 100);
    EXPECT_DOUBLE_EQ(lines[1].massFraction, 30.0 / 50 * 100);
    EXPECT_TRUE(IsNotSet(lines[2].massFraction));
    EXPECT_DOUBLE_EQ(a.positiveSum[kFractionComposition], 100.0);
    ASSERT_EQ(w.issues.size(), 2u);
    EXPECT_TRUE(w.issues[0].noCoefficient);
    EXPECT_TRUE(w.issues[1].notInTable);
}

TEST(MassFractionsTest, AZeroSumLeavesTheFractionsUnsetAndSaysWhy) {
    GasWorld w;
    w.components.records = {GasComponent("Метан", -161.48, 16.043, 2, 0.5, 1)};
    GasAnalysis a;
    a.number = 1;
    std::vector<GasLine> lines(1);
    lines[0].component = w.Find("Метан");
    lines[0].detector = kFidLine;
    lines[0].area = 0;
    GasContext ctx = w.Context();
    ComputeMassFractions(a, lines, kComponentComposition, ctx);
    EXPECT_TRUE(IsNotSet(lines[0].massFraction));
    EXPECT_THAT(w.Texts(kMsgError),
                ElementsAre(::testing::StartsWith("Анализ-2.\r\n\tСумма приведенных площадей")));
}

class FidTcdAndAirTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.components.records = {GasComponent("Метан", -161.48, 16.043, 16.043, 0.4494, 1),
                                GasComponent("Этан", -88.6, 30.07, 15.035, 0.5873, 2),
                                GasComponent("Азот", -195.8, 28.014, NotSet, 0.667, 0),
                                GasComponent("Кислород", -182.96, 31.998, NotSet, 0.8, 0),
                                GasComponent("Диоксид углерода", -78.46, 44.009, NotSet, 0.9169, 0)};
        a.number = 0;
    }

    GasLine L(const std::string& name, double massFraction, std::int32_t detector = kFidLine) {
        GasLine l;
        l.name = name;
        l.component = w.Find(name);
        l.detector = detector;
        l.massFraction = massFraction;
        return l;
    }

    void UseAir(const char* n2, const char* o2, const char* co2) {
        w.profile.WriteInt("settings", "Sect7_CorrectO2", 1);
        w.profile.WriteString("settings", "Sect7_ConcN2", n2);
        w.profile.WriteString("settings", "Sect7_ConcO2", o2);
        w.profile.WriteString("settings", "Sect7_ConcCO2", co2);
    }

    GasWorld w;
    GasAnalysis a;
};

TEST_F(FidTcdAndAirTest, NonHydrocarbonsComeFromTheTcdScaledByTheCommonComponents) {
    a.tcdLines = {L("Метан", 80, kTcdLine), L("Азот", 15, kTcdLine), L("Диоксид углерода", 5, kTcdLine)};
    a.fractionLines = {L("Метан", 90), L("Этан", 10)};
    a.componentLines = a.fractionLines;
    GasContext ctx = w.Context();
    JoinFidTcd(a, ctx);
    const double factor = (90.0 / 100 * 100) / (80.0 / 100 * 100);
    EXPECT_DOUBLE_EQ(a.fidTcdFactor, factor);
    for (const auto* lines : {&a.componentLines, &a.fractionLines}) {
        ASSERT_EQ(lines->size(), 4u);
        EXPECT_EQ((*lines)[0].name, "Диоксид углерода"); // in the reverse of the TCD order
        EXPECT_EQ((*lines)[1].name, "Азот");
        const double sum = factor * 5 + factor * 15 + 90 + 10;
        EXPECT_DOUBLE_EQ((*lines)[1].massFraction, factor * 15 / sum * 100);
        EXPECT_DOUBLE_EQ((*lines)[2].massFraction, 90.0 / sum * 100);
    }
}

TEST_F(FidTcdAndAirTest, WithoutACommonComponentNothingIsJoined) {
    a.tcdLines = {L("Азот", 15, kTcdLine)};
    a.fractionLines = {L("Метан", 90), L("Этан", 10)};
    GasContext ctx = w.Context();
    JoinFidTcd(a, ctx);
    EXPECT_EQ(a.fractionLines.size(), 2u);
    EXPECT_THAT(w.Texts(kMsgError),
                ElementsAre("Анализ-1.\r\n\tНе найдены компоненты для сшивки анализов ПИД и ДТП."));
}

TEST_F(FidTcdAndAirTest, AirIsRemovedWithOxygenAsTheTracer) {
    UseAir("79", "21", "0");
    std::vector<GasLine> lines = {L("Азот", 5.0), L("Кислород", 1.0), L("Диоксид углерода", 0.5),
                                  L("Метан", 93.5)};
    GasContext ctx = w.Context();
    CorrectAir(a, lines, ctx);
    const double rN2 = 79.0 / 21;
    const double total = 93.5 + (5.0 - rN2 * 1.0) + (0.5 - 0.0 / 21 * 1.0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_DOUBLE_EQ(lines[0].massFraction, (5.0 - rN2 * 1.0) / total * 100);
    EXPECT_EQ(lines[1].name, "Диоксид углерода");
    EXPECT_DOUBLE_EQ(lines[2].massFraction, 93.5 / total * 100);
    EXPECT_THAT(
        w.Texts(kMsgError),
        ElementsAre(
            "Анализ-1.\r\n\tВ пробе содержится 4.8% воздуха, результат определения полного состава газа "
            "с неуглеводородными и углеводородными компонентами является недостоверным.\r\n\tСТО "
            "DorirUZUdididida 02-04-2009, раздел 7, описание формулы 7.12."));
}

TEST_F(FidTcdAndAirTest, LittleAirIsNoErrorAndNitrogenCutToZeroIsRemoved) {
    UseAir("79", "21", "0");
    // 0.3 % oxygen: 1.43 % air; nitrogen 1.0 < 3.76 x 0.3 is cut to zero.
    std::vector<GasLine> lines = {L("Азот", 1.0), L("Кислород", 0.3), L("Метан", 60), L("Этан", 38.7)};
    GasContext ctx = w.Context();
    CorrectAir(a, lines, ctx);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].massFraction + lines[1].massFraction, 100.0);
    EXPECT_THAT(w.Texts(kMsgError), IsEmpty());
    EXPECT_THAT(w.Texts(kMsgInfo),
                ElementsAre("Анализ-1.\r\n\tДиоксид углерода в пробе не найден.\r\n\tСТО "
                            "DorirUZUdididida 02-04-2009, раздел 7, описание формулы 7.10."));
}

TEST_F(FidTcdAndAirTest, NoOxygenOrNoOxygenShareLeavesTheListAsItIs) {
    UseAir("79", "0", "0");
    std::vector<GasLine> lines = {L("Азот", 5.0), L("Кислород", 1.0), L("Метан", 94)};
    GasContext ctx = w.Context();
    CorrectAir(a, lines, ctx);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].massFraction, 5.0);
    EXPECT_THAT(w.Texts(kMsgError), ElementsAre(::testing::HasSubstr("Доля кислорода в воздухе")));

    std::vector<GasLine> noOxygen = {L("Азот", 5.0), L("Метан", 95)};
    CorrectAir(a, noOxygen, ctx);
    EXPECT_EQ(noOxygen[0].massFraction, 5.0);
    EXPECT_THAT(
        w.Texts(kMsgInfo),
        ElementsAre("Анализ-1.\r\n\tКислород в пробе не найден, коррекция состава не требуется.\r\n\tСТО "
                    "DorirUZUdididida 02-04-2009, раздел 7, описание формулы 7.8."));
}

TEST_F(FidTcdAndAirTest, WithCorrectionOffNothingChanges) {
    std::vector<GasLine> lines = {L("Азот", 5.0), L("Кислород", 1.0), L("Метан", 94)};
    GasContext ctx = w.Context();
    CorrectAir(a, lines, ctx);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_THAT(w.Texts(kMsgInfo), IsEmpty());
}

TEST_F(FidTcdAndAirTest, TheAirShareKeepsItsDecimalPointUnderARussianLocale) {
    TALVEX_RUSSIAN_NUMERIC_LOCALE(russian);
    UseAir("79", "21", "0");
    std::vector<GasLine> lines = {L("Азот", 5.0), L("Кислород", 1.0), L("Диоксид углерода", 0.5),
                                  L("Метан", 93.5)};
    GasContext ctx = w.Context();
    CorrectAir(a, lines, ctx);
    EXPECT_THAT(w.Texts(kMsgError), ElementsAre(::testing::HasSubstr("В пробе содержится 4.8% воздуха")));
}

} // namespace
} // namespace talvex
