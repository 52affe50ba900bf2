#include "section7_fixtures.h"

#include "russian_locale.h"

#include "core/section7/assembly.h"
#include "core/section7/blank_correction.h"
#include "core/section7/calibration.h"
#include "core/section7/detector_slot.h"
#include "test_files.h"

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

TEST(BaselineLevelTest, MeanOfTheSamplesWithinOneDeviation) {
    const struct {
        std::vector<float> samples;
        std::int32_t perSecond;
        double level;
    } cases[] = {
        {{1, 2, 3, 10, 50}, 4, 2.0}, // mean 4, deviation 3.54: 10 lies outside, 50 is after the first second
        {{5, 5, 5}, 3, 5.0},         // a flat start: no sample strictly inside, the mean
        {{1, 3}, 2, 2.0},            // both exactly one deviation away
        {{7, 1, 1}, 0, 7.0},         // sampled more slowly than once a second: the first sample
        {{4, 6}, 10, 5.0},           // shorter than a second: what there is
        {{}, 16, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(BaselineLevel(c.samples, c.perSecond), c.level) << c.samples.size();
}

TEST(BaselineLevelTest, SamplesPerSecondFromTheStep) {
    EXPECT_EQ(SamplesPerSecond(0.001), 16); // trunc(16.67)
    EXPECT_EQ(SamplesPerSecond(1.0 / 60), 1);
    EXPECT_EQ(SamplesPerSecond(1.0), 0);
    EXPECT_EQ(SamplesPerSecond(0.0), 0);
    EXPECT_EQ(SamplesPerSecond(-1.0), 0);
    EXPECT_EQ(SamplesPerSecond(1e-300), std::numeric_limits<std::int32_t>::max());
}

TEST(LoadPeakEntriesTest, NamedPeaksBecomeEntriesAndProblemsAreReported) {
    GasWorld w;
    w.components.records = {GasComponent("Метан", -161.48, 16.043, 16.043, 0.4494, 1)};
    const COpenedChmFile fid = Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kSample, 0,
                                            {Peak("метан", -12.5, 1.0, 0.9, 1.1), Peak("", 3, 2, 1.9, 2.1),
                                             Peak("Неон", 4, 3, 2.9, 3.1), Peak("", 1, 4, 3.9, 4.1)});
    DetectorSlot slot;
    SetSlot(slot, fid);
    LoadPeakEntries(slot, w.components, w.log);
    ASSERT_EQ(slot.entries.size(), 2u);
    EXPECT_EQ(slot.entries[0].component, &w.components.records[0]);
    EXPECT_EQ(slot.entries[0].area, 12.5);
    EXPECT_EQ(slot.entries[1].component, nullptr);
    EXPECT_THAT(
        w.Texts(kMsgError),
        ElementsAre(
            "Следующие пики не найдены в списке компонентов программы (ГД):\r\n\t\t - Неон (ПИД, Газ, "
            "анализ - 1)\r\n"));
    EXPECT_THAT(
        w.Texts(kMsgWarning),
        ElementsAre(
            "В хроматограммах газа дегазации (ГД) найдены безымянные пики:\r\n\t\t - ПИД, Газ, анализ "
            "- 1, безымянных пиков: 2\r\n"));
}

TEST(AssembleAnalysesTest, RunsGoToTheirAnalysesControlsAndBlank) {
    using C = COpenedChmFile;
    std::vector<C> list = {
        Chromatogram(C::kFid, C::kControlSample, -1, {}, {0, 0}, 0.25, 1),
        Chromatogram(C::kFid, C::kSample, 1, {}, {0, 0}, 0.25, 2),
        Chromatogram(C::kFid, C::kSample, 0, {}, {0, 0}, 0.25, 3),
        Chromatogram(C::kTcd1, C::kSample, 0, {}, {0, 0}, 0.25, 4),
        Chromatogram(C::kTcd2, C::kSample, 1, {}, {0, 0}, 0.25, 5),
        Chromatogram(C::kFid, C::kBlank, -1, {}, {0, 0}, 0.25, 6),
        Chromatogram(C::kTcd1, C::kBlank, -1, {}, {0, 0}, 0.25, 7),
        Chromatogram(C::kTcd1, C::kControlStandard, -1, {}, {0, 0}, 0.25, 8),
    };
    list.push_back(Chromatogram(C::kFid, C::kSample, 2, {}, {0, 0}, 0.25, 9));
    list.back().medium = C::kCondensate;
    Section7Result r;
    AssembleAnalyses(r, list);
    ASSERT_EQ(r.analyses.size(), 2u);
    EXPECT_EQ(r.analyses[0].number, 0);
    EXPECT_EQ(r.analyses[0].fid.chromatogram, &list[2]);
    EXPECT_EQ(r.analyses[0].tcd1.chromatogram, &list[3]);
    EXPECT_EQ(r.analyses[1].tcd2.chromatogram, &list[4]);
    EXPECT_EQ(r.analyses[1].tcd1.chromatogram, nullptr);
    EXPECT_EQ(r.controlSample.fid.chromatogram, &list[0]);
    EXPECT_EQ(r.controlSample.number, -1);
    EXPECT_EQ(r.controlStandard.tcd1.chromatogram, &list[7]);
    EXPECT_EQ(r.blankSlot.chromatogram, &list[5]);
}

class JoinTcdTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.components.records = {GasComponent("Метан", -161.48, 16.043, 16.043, 0.4494, 1),
                                GasComponent("Этан", -88.6, 30.07, 15.035, 0.5873, 2),
                                GasComponent("Азот", -195.8, 28.014, NotSet, 0.667, 0)};
    }

    GasAnalysis Join(std::vector<cmpeek> tcd1, std::vector<cmpeek> tcd2, bool withTcd2 = true) {
        one = Chromatogram(COpenedChmFile::kTcd1, COpenedChmFile::kSample, 0, std::move(tcd1));
        two = Chromatogram(COpenedChmFile::kTcd2, COpenedChmFile::kSample, 0, std::move(tcd2));
        GasAnalysis a;
        a.number = 0;
        SetSlot(a.tcd1, one);
        if (withTcd2)
            SetSlot(a.tcd2, two);
        for (DetectorSlot* s : {&a.tcd1, &a.tcd2})
            LoadPeakEntries(*s, w.components, w.log);
        JoinTcd(a, w.log);
        return a;
    }

    static std::vector<std::pair<std::string, double>> Lines(const GasAnalysis& a) {
        std::vector<std::pair<std::string, double>> out;
        for (const GasLine& l : a.tcdLines)
            out.emplace_back(l.name, l.area);
        return out;
    }

    GasWorld w;
    COpenedChmFile one, two;
};

TEST_F(JoinTcdTest, MethaneRatioScalesTheTcd2Peaks) {
    const GasAnalysis a = Join({Peak("Метан", 200, 1, 0.9, 1.1), Peak("Этан", 50, 2, 1.9, 2.1)},
                               {Peak("Метан", 100, 1, 0.9, 1.1), Peak("Азот", 30, 0.5, 0.4, 0.6)});
    EXPECT_EQ(a.tcdJoinFactor, 2.0);
    EXPECT_THAT(Lines(a), ElementsAre(std::pair<std::string, double>{"Метан", 200},
                                      std::pair<std::string, double>{"Этан", 50},
                                      std::pair<std::string, double>{"Азот", 60}));
    EXPECT_THAT(w.Texts(kMsgWarning), IsEmpty());
}

TEST_F(JoinTcdTest, BothRatiosAreAveragedAndKnownNamesAreNotAddedTwice) {
    const GasAnalysis a = Join(
        {Peak("Метан", 200, 1, 0.9, 1.1), Peak("Этан", 60, 2, 1.9, 2.1), Peak("азот", 5, 0.5, 0.4, 0.6)},
        {Peak("Метан", 100, 1, 0.9, 1.1), Peak("Этан", 20, 2, 1.9, 2.1), Peak("Азот", 30, 0.5, 0.4, 0.6)});
    EXPECT_EQ(a.tcdJoinFactor, 2.5); // (2 + 3) / 2
    EXPECT_EQ(a.tcdLines.size(), 3u);
}

TEST_F(JoinTcdTest, WithoutCommonComponentsTheTcd2PeaksAreDropped) {
    const GasAnalysis a = Join({Peak("Метан", 200, 1, 0.9, 1.1)}, {Peak("Азот", 30, 0.5, 0.4, 0.6)});
    EXPECT_TRUE(IsNotSet(a.tcdJoinFactor));
    EXPECT_THAT(Lines(a), ElementsAre(std::pair<std::string, double>{"Метан", 200}));
    EXPECT_THAT(w.Texts(kMsgWarning), ElementsAre("Анализ-1, не найдены компоненты для сшивки ДТП1 и ДТП2."));
}

TEST_F(JoinTcdTest, AZeroTcd2AreaGivesNoRatio) {
    const GasAnalysis a = Join({Peak("Метан", 200, 1, 0.9, 1.1), Peak("Этан", 60, 2, 1.9, 2.1)},
                               {Peak("Метан", 0, 1, 0.9, 1.1), Peak("Этан", 20, 2, 1.9, 2.1)});
    EXPECT_EQ(a.tcdJoinFactor, 3.0);
}

TEST_F(JoinTcdTest, WithoutTcd2NothingIsJoinedAndNothingReported) {
    const GasAnalysis a = Join({Peak("Метан", 200, 1, 0.9, 1.1)}, {}, false);
    EXPECT_THAT(a.tcdLines, IsEmpty());
    EXPECT_THAT(w.Texts(kMsgWarning), IsEmpty());
}

std::vector<CalibrationPoint> TwoPoints() {
    return {{nullptr, 36.1, 3.0}, {nullptr, 68.7, 5.0}};
}

TEST(InterpolateTest, BothDirectionsInsideAndOutside) {
    const auto points = TwoPoints();
    const std::vector<CalibrationPoint> three = {{nullptr, 0, 1}, {nullptr, 10, 2}, {nullptr, 30, 4}};
    const struct {
        std::vector<CalibrationPoint> points;
        double c;
        CalibrationDirection direction;
        double expected;
    } cases[] = {
        {points, 52.4, CalibrationDirection::ToRetentionTime, 4.0},
        {points, 6.0, CalibrationDirection::ToBoilingPoint, NotSet},
        {points, 2.9, CalibrationDirection::ToBoilingPoint, NotSet},
        {points, 3.0, CalibrationDirection::ToBoilingPoint, 36.1},
        {three, 3.0, CalibrationDirection::ToBoilingPoint, 20.0},
        {three, 25.0, CalibrationDirection::ToRetentionTime, 3.5},
        {{}, 1.0, CalibrationDirection::ToBoilingPoint, NotSet},
        {{{nullptr, 36.1, 3.0}}, 3.0, CalibrationDirection::ToBoilingPoint, 36.1}, // one point: only itself
        {{{nullptr, 36.1, 3.0}}, 3.1, CalibrationDirection::ToBoilingPoint, NotSet},
        {{{nullptr, 36.1, 3.0}, {nullptr, 40, 3.0}}, 3.0, CalibrationDirection::ToBoilingPoint, NotSet},
        {{{nullptr, 36.1, 3.0}, {nullptr, 36.1, 3.0}}, 3.0, CalibrationDirection::ToBoilingPoint, 36.1},
    };
    for (const auto& c : cases) {
        const double v = Interpolate(c.points, c.c, c.direction);
        if (IsNotSet(c.expected))
            EXPECT_TRUE(IsNotSet(v)) << c.c << " gave " << v;
        else
            EXPECT_NEAR(v, c.expected, 1e-12) << c.c;
    }
}

class CalibrateTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.components.records = {GasComponent("н-Пентан", 36.06, 72.151, 14.43, NotSet, 5),
                                GasComponent("н-Гексан", 68.73, 86.178, 14.363, NotSet, 6),
                                GasComponent("н-Гептан", 98.42, 100.205, 14.315, NotSet, 7),
                                GasComponent("Бензол", 80.09, 78.114, 13.019, NotSet, 6)};
        folder.Write("CompsTime.csv",
                     testing::DataFileBytes({"Компонент;Газ;ДК", "н-Пентан;5;3", "н-Гептан;27;9"}));
        ASSERT_TRUE(w.retentionTimes.LoadTable(folder.path(), w.components, w.log));
    }

    GasAnalysis Calibrated(std::vector<cmpeek> peaks) {
        fid = Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kSample, 0, std::move(peaks));
        GasAnalysis a;
        a.number = 0;
        SetSlot(a.fid, fid);
        LoadPeakEntries(a.fid, w.components, w.log);
        Calibrate(a, w.components, w.retentionTimes, w.log);
        return a;
    }

    GasWorld w;
    testing::TempFolder folder;
    COpenedChmFile fid;
};

TEST_F(CalibrateTest, TheRetentionTimeTableExtendsACalibrationThatStopsEarly) {
    const GasAnalysis a = Calibrated({Peak("Бензол", 1, 25, 24.9, 25.1), Peak("н-Гексан", 1, 20, 19.9, 20.1),
                                      Peak("н-Пентан", 1, 12, 11.9, 12.1)});
    ASSERT_EQ(a.calibration.size(), 3u);
    EXPECT_EQ(a.fid.entries[0].name, "н-Пентан"); // sorted by retention time
    EXPECT_EQ(a.calibration[2].retentionTime, 27.0);
    EXPECT_EQ(a.calibration[2].boilingPoint, 98.42);
    EXPECT_THAT(w.Texts(kMsgError), IsEmpty());
}

TEST_F(CalibrateTest, WithoutAnyNParaffinTheErrorQuotesTheStartOfTheRun) {
    folder.Write("CompsTime.csv", testing::DataFileBytes({"Компонент;Газ;ДК"}));
    ASSERT_TRUE(w.retentionTimes.LoadTable(folder.path(), w.components, w.log));
    const GasAnalysis a = Calibrated({Peak("Бензол", 1, 25, 24.9, 25.1)});
    EXPECT_THAT(a.calibration, IsEmpty());
    EXPECT_THAT(w.Texts(kMsgError),
                ElementsAre("Градуировочный график для ГД охватывает не всю хроматограмму!\r\n\tПики "
                            "выходящие после 0.0000 мин не могут быть распределены во фракции."));
    EXPECT_EQ(w.Texts(kMsgInfo).size(), 1u);
}

TEST_F(CalibrateTest, AnUncoveredEndQuotesTheLastPoint) {
    folder.Write("CompsTime.csv", testing::DataFileBytes({"Компонент;Газ;ДК", "н-Гептан;24;9"}));
    ASSERT_TRUE(w.retentionTimes.LoadTable(folder.path(), w.components, w.log));
    Calibrated({Peak("Бензол", 1, 25, 24.9, 25.1), Peak("н-Гексан", 1, 20.5, 20.4, 20.6)});
    EXPECT_THAT(w.Texts(kMsgError), ElementsAre(::testing::HasSubstr("после 20.5000 мин")));
}

TEST_F(CalibrateTest, APointsOrderThatDoesNotRiseIsReported) {
    Calibrated({Peak("н-Гексан", 1, 10, 9.9, 10.1), Peak("н-Пентан", 1, 12, 11.9, 12.1),
                Peak("н-Гептан", 1, 30, 29, 31)});
    EXPECT_THAT(w.Texts(kMsgError), ElementsAre(::testing::HasSubstr("не возрастает")));
}

class CorrectedAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<float> v(30);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = static_cast<float>((i * 7) % 11 + 1);
        fid = Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kSample, 0, {}, v, 0.25);
        SetSlot(a.fid, fid);
        CorrectBlank(a, DetectorSlot{}, w.log);
    }
    double V(std::size_t i) const { return a.corrected[i]; }

    GasWorld w;
    COpenedChmFile fid;
    GasAnalysis a;
};

TEST_F(CorrectedAreaTest, EndsOnSamplesCountHalfOnce) {
    double inner = 0;
    for (std::size_t i = 11; i <= 18; ++i)
        inner += V(i);
    EXPECT_DOUBLE_EQ(CorrectedArea(a, 2.5, 5.0), (1.5 * V(10) + inner + 0.5 * V(20)) * 0.25);
}

TEST_F(CorrectedAreaTest, EndsBetweenSamples) {
    double inner = 0;
    for (std::size_t i = 11; i <= 19; ++i)
        inner += V(i);
    EXPECT_DOUBLE_EQ(CorrectedArea(a, 2.6, 5.1), (1.5 * V(10) + inner + 1.5 * V(20)) * 0.25);
}

TEST_F(CorrectedAreaTest, MissingOrOutsideTimesGiveNotSet) {
    for (const auto& [from, to] :
         std::vector<std::pair<double, double>>{{NotSet, 5},
                                                {1, std::numeric_limits<double>::max()},
                                                {1, 7.5},
                                                {5, 2},
                                                {std::nan(""), 2},
                                                {1, std::numeric_limits<double>::infinity()},
                                                {-std::numeric_limits<double>::infinity(), 2}})
        EXPECT_TRUE(IsNotSet(CorrectedArea(a, from, to))) << from << " " << to;
    EXPECT_DOUBLE_EQ(CorrectedArea(a, -3, 0.1), (0.5 * V(0) + V(0) + 0.5 * V(0)) * 0.25);
}

TEST_F(CorrectedAreaTest, WithoutBlankTheSignalIsKeptAndTheWarningShowsOnce) {
    CorrectBlank(a, DetectorSlot{}, w.log);
    EXPECT_EQ(a.corrected.size(), 30u);
    EXPECT_THAT(w.Texts(kMsgWarning),
                ElementsAre("Не задана хроматограмма холостого опыта для газа дегазации. Расчет "
                            "будет проведен без учета холостой хроматограммы.\r\n"));
}

TEST_F(CorrectedAreaTest, AWindowAskedAgainGivesTheSameAreaUntilTheBlankChanges) {
    const double first = CorrectedArea(a, 2.6, 5.1);
    EXPECT_EQ(CorrectedArea(a, 2.6, 5.1), first);
    EXPECT_NE(CorrectedArea(a, 2.6, 5.6), first); // a longer window is summed on its own
    // A blank run of ones lowers every sample by one: the window's area follows the new signal.
    const COpenedChmFile blank = Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kBlank, -1, {},
                                              std::vector<float>(30, 1.0f), 0.25);
    DetectorSlot blankSlot;
    SetSlot(blankSlot, blank);
    blankSlot.level = a.fid.level;
    CorrectBlank(a, blankSlot, w.log);
    double inner = 0;
    for (std::size_t i = 11; i <= 19; ++i)
        inner += V(i);
    EXPECT_EQ(CorrectedArea(a, 2.6, 5.1), (1.5 * V(10) + inner + 1.5 * V(20)) * 0.25);
    EXPECT_LT(CorrectedArea(a, 2.6, 5.1), first);
}

TEST(CorrectBlankTest, BlankIsSubtractedWithTheLevelShiftAndCutAtZero) {
    GasWorld w;
    const COpenedChmFile fid =
        Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kSample, 0, {}, {2, 2, 9, 1.5, 2}, 1.0 / 60);
    const COpenedChmFile blank =
        Chromatogram(COpenedChmFile::kFid, COpenedChmFile::kBlank, -1, {}, {1, 5, 1, 1}, 1.0 / 60);
    GasAnalysis a;
    DetectorSlot blankSlot;
    SetSlot(a.fid, fid);
    SetSlot(blankSlot, blank);
    ASSERT_EQ(a.fid.level, 2.0);
    ASSERT_EQ(blankSlot.level, 1.0);
    CorrectBlank(a, blankSlot, w.log);
    // y_fid - y_blank + (2 - 1), never below 0; as long as the shorter signal.
    ASSERT_EQ(a.corrected.size(), 4u);
    EXPECT_THAT((std::vector<double>{a.corrected[0], a.corrected[1], a.corrected[2], a.corrected[3]}),
                ElementsAre(2.0, 0.0, 9.0, 1.5));
    EXPECT_THAT(w.Texts(kMsgWarning), IsEmpty());
}

TEST_F(CalibrateTest, QuotedTimesKeepTheirDecimalPointUnderARussianLocale) {
    TALVEX_RUSSIAN_NUMERIC_LOCALE(russian);
    folder.Write("CompsTime.csv", testing::DataFileBytes({"Компонент;Газ;ДК", "н-Гептан;24;9"}));
    ASSERT_TRUE(w.retentionTimes.LoadTable(folder.path(), w.components, w.log));
    Calibrated({Peak("Бензол", 1, 25, 24.9, 25.1), Peak("н-Гексан", 1, 20.5, 20.4, 20.6)});
    EXPECT_THAT(w.Texts(kMsgError), ElementsAre(::testing::HasSubstr("Пики выходящие после 20.5000 мин")));

    w.log.Clear();
    Calibrated({Peak("н-Гексан", 1, 10, 9.9, 10.1), Peak("н-Пентан", 1, 12, 11.9, 12.1),
                Peak("н-Гептан", 1, 30, 29, 31)});
    EXPECT_THAT(w.Texts(kMsgError),
                ElementsAre(::testing::HasSubstr(
                    "н-Парафины \"н-Гексан\" (10.0000 мин) и \"н-Пентан\" (12.0000 мин)")));
}

} // namespace
} // namespace talvex
