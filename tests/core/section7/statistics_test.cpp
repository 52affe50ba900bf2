#include "section7_fixtures.h"

#include "russian_locale.h"

#include "core/section7/component_issues.h"
#include "core/section7/controls.h"
#include "core/section7/gas_properties.h"
#include "core/section7/gas_report.h"
#include "core/section7/gas_tables.h"
#include "core/section7/section7.h"
#include "core/section7/statistics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace talvex {
namespace {

using ::testing::ElementsAre;
using testing::GasComponent;
using testing::GasWorld;

TEST(PropertiesTest, MolarMassCompressibilityAndDensity) {
    GasWorld w;
    w.components.records = {GasComponent("Метан", -161.48, 16.043, 16.043, 0.4494, 1),
                            GasComponent("Этан", -88.6, 30.07, 15.035, 0.5873, 2),
                            GasComponent("Азот", -195.8, NotSet, NotSet, 0.667, 0)};
    std::vector<GasLine> lines(3);
    const std::pair<const char*, double> plan[] = {{"Метан", 90}, {"Этан", 10}, {"Азот", NotSet}};
    for (std::size_t i = 0; i < 3; ++i) {
        lines[i].name = plan[i].first;
        lines[i].component = w.Find(plan[i].first);
        lines[i].massFraction = plan[i].second;
    }
    const GasProperties mix = ComputeProperties(lines, w.issues);
    EXPECT_NEAR(mix.molarMass, 16.82799, 5e-6);
    EXPECT_NEAR(mix.compressibility, 0.997379, 5e-7);
    EXPECT_NEAR(mix.density, 0.701403, 5e-7);
    EXPECT_TRUE(w.issues.empty()); // nitrogen has no mass fraction, so its molar mass is not needed

    lines[2].massFraction = 1;
    ComputeProperties(lines, w.issues);
    ASSERT_EQ(w.issues.size(), 1u);
    EXPECT_TRUE(w.issues[0].noMolarMass);

    const GasProperties methane = PropertiesFromSum(100 / 16.043);
    EXPECT_NEAR(methane.compressibility, 0.997611, 5e-7);
    EXPECT_NEAR(methane.density, 0.668528, 5e-7);
    for (const double S : {0.0, -1.0, NotSet}) {
        const GasProperties none = PropertiesFromSum(S);
        EXPECT_TRUE(IsNotSet(none.molarMass) && IsNotSet(none.compressibility) && IsNotSet(none.density))
            << S;
    }
}

// Analyses with given lines (name -> mass fraction); the component "Метан" has a norm 50…100 (r 1.5,
// δ 2.0, R 2.5) and "Этан" norms that do not cover small values.
class RowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto methane = GasComponent("Метан", -161.48, 16.043, 16.043, 0.4494, 1);
        NormRange n;
        n.low = 50;
        n.high = 100;
        n.delta = 2.0;
        n.repeatability = 1.5;
        n.reproducibility = 2.5;
        methane.gasNorms = {n};
        auto ethane = GasComponent("Этан", -88.6, 30.07, 15.035, 0.5873, 2);
        ethane.gasNorms = {n};
        auto butane = GasComponent("н-Бутан", -0.5, 58.124, 14.531, NotSet, 4);
        NormRange b = n;
        b.low = 1;
        b.high = 10;
        b.delta = 4;
        butane.gasNorms = {b};
        w.components.records = {methane, ethane, butane};
    }

    void AddAnalysis(std::vector<std::pair<std::string, double>> lines) {
        GasAnalysis& a = r.analyses.emplace_back();
        a.number = static_cast<std::int32_t>(r.analyses.size() - 1);
        for (int c = 0; c < kCompositions; ++c)
            for (const auto& [name, value] : lines) {
                GasLine& l = a.Lines(c).emplace_back();
                l.name = name;
                l.component = w.Find(name);
                l.massFraction = value;
            }
    }

    GasWorld w;
    Section7Result r;
};

TEST_F(RowsTest, AveragesSpreadsAndLimits) {
    AddAnalysis({{"Метан", 90.0}, {"Этан", 1.0}, {"Гость", NotSet}});
    AddAnalysis({{"Метан", 90.6}, {"этан", 2.0}, {"Гость", NotSet}});
    AddAnalysis({{"Метан", 89.4}, {"Гость", NotSet}});
    BuildRows(r);
    AverageRows(r, w.log);
    const auto& rows = r.rows[kComponentComposition];
    ASSERT_EQ(rows.size(), 3u);
    const GasRow& methane = rows[0];
    EXPECT_EQ(methane.count, 3);
    EXPECT_DOUBLE_EQ(methane.average, (90.0 + 90.6 + 89.4) / 3);
    EXPECT_DOUBLE_EQ(methane.discrepancy, (90.6 - 89.4) / methane.average * 100);
    EXPECT_TRUE(methane.withinLimit);
    EXPECT_DOUBLE_EQ(methane.deltaAbs, 2.0 * 0.01 * methane.average);
    const GasRow& ethane = rows[1];
    EXPECT_EQ(ethane.count, 2);
    EXPECT_EQ(ethane.average, 1.5);
    EXPECT_EQ(ethane.norm, NoMatchingNorm());
    EXPECT_TRUE(IsNotSet(ethane.discrepancy));
    EXPECT_TRUE(IsNotSet(rows[2].average));
    EXPECT_DOUBLE_EQ(r.totals[kComponentComposition], methane.average + 1.5);
    EXPECT_DOUBLE_EQ(r.averagedProperties[kComponentComposition].molarMass,
                     100 / (methane.average / 16.043 + 1.5 / 30.07));
    ASSERT_EQ(r.issues.size(), 1u); // a row without any mass fraction has nothing to flag
    EXPECT_EQ(r.issues[0].name, "Этан");
    EXPECT_TRUE(r.issues[0].notInAllAnalyses);
    EXPECT_TRUE(r.issues[0].rangeMismatch);
}

TEST_F(RowsTest, OneAnalysisKeepsItsOwnProperties) {
    AddAnalysis({{"Метан", 100}});
    r.analyses[0].properties[kFractionComposition].density = 0.7;
    BuildRows(r);
    AverageRows(r, w.log);
    EXPECT_TRUE(IsNotSet(r.rows[kFractionComposition][0].average));
    EXPECT_EQ(r.averagedProperties[kFractionComposition].density, 0.7);
    const GridModel page = GasPageGrid(r, TableKind::AnalysisSecond, 3);
    ASSERT_EQ(page.columns.size(), 3u);
    EXPECT_EQ(page.columns[2].caption, "Ан-1. Масс. доля, %");
    EXPECT_EQ(page.rows[0].cells, (std::vector<std::string>{"1", "Метан", "100.000"}));
    EXPECT_EQ(page.rows[1].cells, (std::vector<std::string>{"", "Сумма", "0.000"}));
    EXPECT_EQ(page.rows[3].cells[2], "Aнализ - 1");
    EXPECT_EQ(page.rows[6].cells, (std::vector<std::string>{"", "Плотность, (кг/м³)", "0.700"}));
}

TEST_F(RowsTest, ThePageAndTheReportShowTheRows) {
    AddAnalysis({{"Метан", 90.0}, {"Этан", 10}});
    AddAnalysis({{"Метан", 90.6}, {"н-Бутан", 5}});
    AddAnalysis({{"Метан", 89.4}, {"Этан", 10}});
    BuildRows(r);
    AverageRows(r, w.log);
    const GridModel page = GasPageGrid(r, TableKind::AnalysisFirst, 3);
    ASSERT_EQ(page.columns.size(), 9u);
    EXPECT_EQ(page.rows[0].cells, (std::vector<std::string>{"1", "Метан", "90.000", "90.600", "89.400",
                                                            "90.000   ±1.800", "1.333", "1.500", "Да"}));
    EXPECT_EQ(page.rows[2].cells, (std::vector<std::string>{"3", "н-Бутан", "---", "5.000", "---", "5.000",
                                                            "---", "1.500", "Нет"}));

    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("root");
    w.profile.WriteInt("report_settings", "GD_ChrmList", 0);
    w.profile.WriteInt("settings", "QtyNumAfterDot", 2);
    CSettings stored;
    stored.Load(w.profile);
    const ReportSettings switches = LoadReportSettings(w.profile);
    ASSERT_EQ(WriteGasReport(root, r, stored.QtyNumAfterDot, switches), 0);
    EXPECT_STREQ(root.child("Header_S7").text().get(), "Газ дегазации");
    EXPECT_FALSE(root.child("Table2"));
    const pugi::xml_node butane = root.child("Table3").find_child(
        [](pugi::xml_node row) { return std::string(row.child("NameComp").text().get()) == "н-Бутан"; });
    const pugi::xml_node m1 = butane.child("MassP");
    EXPECT_STREQ(m1.text().get(), "---");
    EXPECT_STREQ(m1.child("MassP").text().get(), "5,00");
    EXPECT_STREQ(m1.child("MassP").child("MassP").text().get(), "---");
    EXPECT_STREQ(butane.child("AvMassP").text().get(), "5,00");
    EXPECT_STREQ(butane.child("d").text().get(), "---"); // not in every analysis: no limits
    EXPECT_STREQ(butane.child("r").text().get(), "1,50");
    EXPECT_STREQ(root.child("Table4").first_child().child("title").text().get(), "Молярная масса, (г/моль)");
    EXPECT_TRUE(root.child("Table9"));
    EXPECT_EQ(WriteGasReport(pugi::xml_node(), r, stored.QtyNumAfterDot, switches), -1);
}

TEST_F(RowsTest, ControlWithASampleAgainstTheFirstAnalysis) {
    AddAnalysis({{"Метан", 90.0}, {"Этан", 5}});
    for (int c = 0; c < kCompositions; ++c)
        for (const auto& [name, value] :
             std::vector<std::pair<std::string, double>>{{"Метан", 90.2}, {"Гость", 1}}) {
            GasLine& l = r.controlSample.Lines(c).emplace_back();
            l.name = name;
            l.component = w.Find(name);
            l.massFraction = value;
        }
    CompareControlSample(r);
    CheckControlSample(r);
    const auto& rows = r.controlSampleRows[kComponentComposition];
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NEAR(rows[0].Kk, 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(rows[0].K, 2.5 * 0.84 / 100 * (90.2 + 90.0) * 0.5);
    EXPECT_TRUE(rows[0].withinLimit);
    EXPECT_TRUE(IsNotSet(rows[1].reference));
    EXPECT_TRUE(IsNotSet(rows[2].measured));
    const GridModel page = GasPageGrid(r, TableKind::SampleControlFirst, 3);
    EXPECT_EQ(page.rows[2].cells,
              (std::vector<std::string>{"3", "Этан", "5.000", "---", "---", "---", "---"}));
    ASSERT_EQ(r.issues.size(), 2u);
    EXPECT_EQ(r.issues[0].name, "Гость");
    EXPECT_TRUE(r.issues[0].notInBothSamples);
}

TEST_F(RowsTest, ASpreadEqualToTheRepeatabilityLimitIsWithinIt) {
    // 63.25 and 64.75 average to 64: the spread is 1.5 / 64 * 100 = 2.34375 % with no rounding at all.
    const double spread = 2.34375;
    const struct {
        double limit;
        bool within;
    } cases[] = {{spread, true}, {std::nextafter(spread, 0.0), false}, {2.5, true}};
    for (const auto& c : cases) {
        ResetSection7(r);
        w.components.records[0].gasNorms[0].repeatability = c.limit;
        AddAnalysis({{"Метан", 63.25}});
        AddAnalysis({{"Метан", 64.75}});
        BuildRows(r);
        AverageRows(r, w.log);
        const GasRow& methane = r.rows[kComponentComposition][0];
        ASSERT_EQ(methane.discrepancy, spread);
        EXPECT_EQ(methane.withinLimit, c.within) << c.limit;
    }
}

TEST_F(RowsTest, AControlSampleDifferenceEqualToTheLimitIsWithinIt) {
    // Kk = |measured - reference|, K = R * 0.84 / 100 * (measured + reference) / 2; both sides of the
    // boundary: equal values against R = 0, and a reproducibility chosen so that K equals Kk to the bit.
    const auto limitOf = [](double R, double measured, double reference) {
        return R * 0.84 / 100 * (measured + reference) * 0.5;
    };
    double exactR = 2.0 / (0.84 / 100 * 64);
    for (int step = 0; step < 64 && limitOf(exactR, 65, 63) != 2.0; ++step)
        exactR = std::nextafter(exactR, limitOf(exactR, 65, 63) < 2.0 ? 1e9 : 0.0);
    ASSERT_EQ(limitOf(exactR, 65, 63), 2.0);
    const struct {
        double measured;
        double reference;
        double R;
        bool within;
    } cases[] = {
        {64, 64, 0.0, true},
        {65, 63, exactR, true},
        {65, 63, std::nextafter(exactR, 0.0), false},
        {64.5, 64, 0.0, false},
    };
    for (const auto& c : cases) {
        ResetSection7(r);
        w.components.records[0].gasNorms[0].reproducibility = c.R;
        AddAnalysis({{"Метан", c.reference}});
        GasLine& l = r.controlSample.Lines(kComponentComposition).emplace_back();
        l.name = "Метан";
        l.component = w.Find("Метан");
        l.massFraction = c.measured;
        CompareControlSample(r);
        CheckControlSample(r);
        const GasControlRow& row = r.controlSampleRows[kComponentComposition][0];
        ASSERT_EQ(row.K, limitOf(c.R, c.measured, c.reference));
        EXPECT_EQ(row.withinLimit, c.within) << c.measured << " " << c.R;
    }
}

TEST_F(RowsTest, ControlWithAStandardAgainstTheCertifiedValues) {
    AddAnalysis({{"Метан", 90.0}});
    w.components.records[2].gas.certifiedValue = 5.0;
    w.components.records[0].gas.certifiedValue = 90.0;
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, double>>{{"н-Бутан", 5.3}, {"Этан", 2}, {"Метан", NotSet}}) {
        GasLine& l = r.controlStandard.componentLines.emplace_back();
        l.name = name;
        l.component = w.Find(name);
        l.massFraction = value;
    }
    CompareControlStandard(r);
    const auto& rows = r.controlStandardRows;
    EXPECT_NEAR(rows[0].Kk, 0.3, 1e-12);
    EXPECT_DOUBLE_EQ(rows[0].K, 4 * 0.01 * 5.0);
    EXPECT_FALSE(rows[0].withinLimit);
    EXPECT_TRUE(IsNotSet(rows[2].Kk)); // no mass fraction: nothing to compare
    const GridModel five = GasPageGrid(r, TableKind::StandardControlFirst, 3);
    EXPECT_EQ(five.rows[0].cells,
              (std::vector<std::string>{"1", "н-Бутан", "5.300", "5.000", "0.300", "0.200", "Нет"}));
    EXPECT_EQ(five.rows[2].cells,
              (std::vector<std::string>{"3", "Метан", "---", "90.000", "---", "---", "---"}));
    EXPECT_EQ(GasPageGrid(r, TableKind::StandardControlSecond, 3).rows.size(), five.rows.size());
    ReportIssues(r.issues, w.log);
    EXPECT_THAT(
        w.log.Texts(kMsgError),
        ElementsAre("Компонент \"Этан\" (Анализ газа).\r\n\t - Компонент отсутствует в паспорте на смесь "
                    "(ОКЭ).\r\n\t"));
}

TEST(ReportIssuesTest, OneMessagePerComponentWithItsLinesInOrder) {
    GasWorld w;
    IssuesOf(w.issues, "Азот").notInAllAnalyses = true;
    IssuesOf(w.issues, "АЗОТ").noMolarMass = true;
    ReportIssues(w.issues, w.log);
    EXPECT_THAT(
        w.log.Texts(kMsgError),
        ElementsAre("Компонент \"Азот\" (Анализ газа).\r\n\t - Не задана молярная масса.\r\n\t - Компонент "
                    "присутствует не во всех анализах.\r\n\t"));
}

TEST_F(RowsTest, TheSpreadKeepsItsDecimalPointUnderARussianLocale) {
    TALVEX_RUSSIAN_NUMERIC_LOCALE(russian);
    AddAnalysis({{"Метан", 90.0}, {"Этан", 10}});
    AddAnalysis({{"Метан", 90.6}, {"н-Бутан", 5}});
    AddAnalysis({{"Метан", 89.4}, {"Этан", 10}});
    BuildRows(r);
    AverageRows(r, w.log);
    EXPECT_EQ(GasPageGrid(r, TableKind::AnalysisFirst, 3).rows[0].cells[5], "90.000   ±1.800");
}

} // namespace
} // namespace talvex
