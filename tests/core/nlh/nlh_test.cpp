#include "core/nlh/nlh.h"

#include "core/chromatogram/chromatogram_list.h"
#include "core/common/settings_store.h"
#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

#include <gtest/gtest.h>

#include <deque>

namespace talvex {
namespace {

// Gas and condensate results built by hand, with the component database they refer to.
class NlhTest : public ::testing::Test {
protected:
    NlhTest() {
        for (const auto& [name, molarMass] : std::vector<std::pair<std::string, double>>{
                 {"Метан", 16.043}, {"Этан", 30.07}, {"н-Гексан", 86.175}, {"F70-80", 95.0}}) {
            ComponentRecord r;
            r.key = r.displayName = name;
            r.gas.molarMass = molarMass;
            components_.records.push_back(r);
        }
    }

    // A gas row with one line per given analysis value.
    void GasRow_(const std::string& name, std::vector<double> perAnalysis, double average) {
        GasRow row;
        row.name = name;
        for (std::size_t i = 0; i < perAnalysis.size(); ++i) {
            lines_.emplace_back();
            lines_.back().massFraction = perAnalysis[i];
            row.lines[static_cast<std::int32_t>(i)] = &lines_.back();
        }
        row.average = average;
        gas_.rows[kFractionComposition].push_back(row);
    }
    void CondensateRow_(const std::string& name, std::map<std::int32_t, double> perAnalysis, int count,
                        double average) {
        CondensateRow row;
        row.name = name;
        row.analysisCount = count;
        for (const auto& [no, value] : perAnalysis) {
            entries_.emplace_back();
            entries_.back().massFraction = value;
            row.perAnalysis[no] = &entries_.back();
        }
        row.average = average;
        condensate_.rowsA.push_back(row);
    }

    void Calc(std::int32_t method, double gasFactor, double density = 1.5, std::size_t gasAnalyses = 1) {
        gas_.analyses.resize(gasAnalyses);
        gas_.averagedProperties[kFractionComposition].density = density;
        DegassingParameters degassing;
        degassing.Method = method;
        degassing.GasFactor = gasFactor;
        CSettings stored;
        stored.Load(settings_);
        const CalcInputs inputs{list_, components_, times_, stored, log_, failure_};
        CalcNLH(result_, gas_, condensate_, degassing, inputs);
        log_.Refresh();
    }

    const NlhRow& Row(const std::string& name) const {
        for (const NlhRow& r : result_.rows)
            if (r.NameComp == name)
                return r;
        throw std::runtime_error("no row " + name);
    }

    std::deque<GasLine> lines_;
    std::deque<CondensateEntry> entries_;
    Section7Result gas_;
    CondensateResult condensate_;
    ComponentTable components_;
    ChromatogramList list_;
    RetentionTimeTable times_;
    MemorySettingsStore settings_;
    MessageLog log_;
    std::string failure_;
    NlhResult result_;
};

TEST_F(NlhTest, MethodBRecombinesThePhasesByMass) {
    GasRow_("Метан", {60}, 60);
    CondensateRow_("Метан", {{0, 0.3}}, 1, 0.3);
    Calc(MethodB, 200);
    EXPECT_EQ(result_.GasFactorKg, 200.0);
    EXPECT_DOUBLE_EQ(result_.GasMassFraction, 1.0 / 6.0);
    EXPECT_DOUBLE_EQ(result_.LiquidMassFraction, 5.0 / 6.0);
    ASSERT_EQ(result_.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(Row("Метан").NLH_MassP, 10.25);
    EXPECT_EQ(Row("Метан").NLH_MM, 16.043);
    EXPECT_EQ(result_.SumGD_MassP, 60.0);
    EXPECT_EQ(result_.SumDC_MassP, 0.3);
}

TEST_F(NlhTest, MethodAConvertsTheGasFactorWithTheGasDensity) {
    GasRow_("Метан", {80}, 80);
    Calc(MethodA, 100, 1.5);
    EXPECT_EQ(result_.GasFactorKg, 150.0);
    EXPECT_EQ(result_.GasMassFraction, 150.0 / 1150.0);
    Calc(MethodAModified, 100, 2.0);
    EXPECT_EQ(result_.GasFactorKg, 200.0);
}

TEST_F(NlhTest, RowsFollowTheGasOrderThenTheCondensateOnlyComponents) {
    GasRow_("Этан", {5, 7}, 6);
    GasRow_("Метан", {70, 72}, 71);
    GasRow_("МЕТАН", {1, 1}, 1); // the same name in other letter case: skipped
    CondensateRow_("н-Гексан", {{0, 4.0}, {1, 6.0}}, 2, 5.0);
    CondensateRow_("этан", {{1, 0.5}}, 1, 0.5); // found in one analysis only: that value
    CondensateRow_("Неизвестный", {{0, 2.0}}, 1, 2.0);
    CondensateRow_("F70-80", {}, 1, NotSet);
    Calc(MethodB, 250, 1.0, 2);
    std::vector<std::string> names;
    for (const NlhRow& r : result_.rows)
        names.push_back(r.NameComp);
    EXPECT_EQ(names, (std::vector<std::string>{"Этан", "Метан", "н-Гексан", "Неизвестный", "F70-80"}));
    EXPECT_EQ(Row("Этан").GD_MassP, 6.0); // two gas analyses: the average
    EXPECT_EQ(Row("Этан").DC_MassP, 0.5);
    EXPECT_EQ(Row("н-Гексан").DC_MassP, 5.0);
    // Unknown to the database: phase values kept, no unstable-liquid value, left out of the sums.
    EXPECT_EQ(Row("Неизвестный").DC_MassP, 2.0);
    EXPECT_TRUE(IsNotSet(Row("Неизвестный").NLH_MassP));
    EXPECT_EQ(result_.SumDC_MassP, 0.5 + 5.0);
    // No value in either phase: nothing for the unstable liquid.
    EXPECT_TRUE(IsNotSet(Row("F70-80").NLH_MassP));
    EXPECT_TRUE(IsNotSet(Row("F70-80").NLH_MM));

    const GridModel page = NlhPageGrid(result_, 3);
    ASSERT_EQ(page.rows.size(), 5u + 1 + 1 + 1 + 3);
    EXPECT_EQ(page.rows[3].cells,
              (std::vector<std::string>{"4", "Неизвестный", "---", "---", "2.000", "---", "---", "---"}));
    EXPECT_EQ(page.rows[5].cells[1], "Сумма масс %:");
    EXPECT_EQ(page.rows[5].cells[4], "5.500");
    EXPECT_EQ(page.rows[6].cells, std::vector<std::string>(8));
    EXPECT_EQ(page.rows[7].cells[1], "=== Характеристики НЖУ ===");
    EXPECT_EQ(page.rows[10].cells[1], "Газовый фактор, (кг/т)");
    EXPECT_EQ(page.rows[10].cells[2], "250.000");
}

TEST_F(NlhTest, OneGasAnalysisTakesItsOwnValueEvenWithAnAverage) {
    GasRow_("Метан", {70}, 99);
    Calc(MethodB, 100, 1.0, 1);
    EXPECT_EQ(Row("Метан").GD_MassP, 70.0);
}

TEST_F(NlhTest, RefusalsAndTheEmptyCase) {
    Calc(MethodB, 0);
    EXPECT_TRUE(log_.IsEmpty()); // no rows in either phase: nothing to say
    GasRow_("Метан", {70}, 70);
    Calc(MethodA, 0);
    EXPECT_EQ(log_.Texts(kMsgError),
              (std::vector<std::string>{"Неизвестен газовый фактор.\r\n\tРасчет компонентно-фракционного "
                                        "состава НЖУ невозможен.\r\n"}));
    EXPECT_TRUE(result_.rows.empty());
    log_.Clear();
    Calc(MethodA, 120, 0);
    EXPECT_EQ(log_.Texts(kMsgError).at(0).rfind("Неизвестна плотность газа дегазации.\r\n", 0), 0u);
    EXPECT_TRUE(IsNotSet(result_.GasFactorKg));
    EXPECT_TRUE(NlhPageGrid(result_, 3).rows.empty());
}

TEST_F(NlhTest, ReportTablesWithADecimalCommaAndTheSwitch) {
    GasRow_("Метан", {60}, 60);
    CondensateRow_("Метан", {{0, 0.3}}, 1, 0.3);
    Calc(MethodB, 200);
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("root");
    ASSERT_EQ(WriteNlhReport(root, result_, 3, LoadReportSettings(settings_)), 0);
    EXPECT_STREQ(root.first_child().name(), "Table18");
    EXPECT_STREQ(root.child("Header_S9").text().get(), "Результаты расчета НЖУ");
    pugi::xml_node first = root.child("Table18").child("row");
    EXPECT_STREQ(first.child("NLH_MassP").text().get(), "10,250");
    EXPECT_STREQ(first.child("DC_MM").text().get(), "16,043");
    pugi::xml_node sums = first.next_sibling().next_sibling();
    EXPECT_STREQ(sums.child("NameComp").text().get(), "Сумма масс %:");
    EXPECT_FALSE(sums.child("GD_MM"));
    EXPECT_STREQ(root.child("Table19").last_child().child("val").text().get(), "200,000");

    ResetNlh(result_);
    pugi::xml_node empty = doc.append_child("empty");
    WriteNlhReport(empty, result_, 3, LoadReportSettings(settings_));
    EXPECT_STREQ(empty.child("Table18").last_child().child("NLH_MassP").text().get(), "---");
    EXPECT_STREQ(empty.child("Table19").first_child().child("val").text().get(), "---");

    settings_.WriteInt("report_settings", "RezNLH", 0);
    pugi::xml_node off = doc.append_child("off");
    EXPECT_EQ(WriteNlhReport(off, result_, 3, LoadReportSettings(settings_)), 0);
    EXPECT_FALSE(off.first_child());
    EXPECT_EQ(WriteNlhReport(pugi::xml_node(), result_, 3, LoadReportSettings(settings_)), -1);
}

} // namespace
} // namespace talvex
