#include "core/common/report_settings.h"
#include "core/report/table1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvex {
namespace {

std::vector<std::string> Rows(pugi::xml_node table) {
    std::vector<std::string> rows;
    for (pugi::xml_node row : table.children("row"))
        rows.push_back(std::string(row.child("title").text().get()) + "=" +
                       row.child("DataString").text().get());
    return rows;
}

COpenedChmFile SampleRun(int medium, int role, const char* op, std::int64_t time, const char* site = "") {
    COpenedChmFile c;
    c.medium = medium;
    c.role = role;
    c.passport.operatorName = op;
    c.passport.analysisTime = time;
    c.passport.samplingTime = time - 3600;
    c.passport.samplingSite = site;
    return c;
}

TEST(Table1, WithoutChromatogramsOnlyTheCountsAndTheInstrument) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("root");
    const ChromatogramList none;
    ASSERT_EQ(WriteTable1(root, {none, 0, 0, ""}), 0);
    EXPECT_EQ(Rows(root.child("Table1")),
              (std::vector<std::string>{"Кол-во измерений ГД=0", "Кол-во измерений ДК=0"}));
    pugi::xml_node root2 = doc.append_child("root2");
    WriteTable1(root2, {none, 3, 2, "ГХ-2"});
    EXPECT_EQ(
        Rows(root2.child("Table1")),
        (std::vector<std::string>{"Имя прибора=ГХ-2", "Кол-во измерений ГД=3", "Кол-во измерений ДК=2"}));
    EXPECT_EQ(WriteTable1(pugi::xml_node(), {none, 0, 0, ""}), -1);
}

TEST(Table1, SampleRunsOnlyAndTheOperatorRule) {
    const std::int64_t t = 1700000000; // 14.11.2023 22:13:20 UTC (tests run with TZ=UTC)
    ChromatogramList list = {
        SampleRun(COpenedChmFile::kGas, COpenedChmFile::kBlank, "Другой", t - 100, "УКПГ-9"),
        SampleRun(COpenedChmFile::kGas, COpenedChmFile::kSample, "Иванова", t, ""),
        SampleRun(COpenedChmFile::kGas, COpenedChmFile::kSample, "Петров", t + 10, "УКПГ-2"),
        SampleRun(COpenedChmFile::kCondensate, COpenedChmFile::kSample, "Иванова", t + 7200),
    };
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("root");
    WriteTable1(root, {list, 1, 1, ""});
    EXPECT_EQ(
        Rows(root.child("Table1")),
        (std::vector<std::string>{"Пункт отбора=УКПГ-2", "Дата и время отбора=14.11.2023, 21:13:20",
                                  "Дата и время анализа (ГД)=14.11.2023, 22:13:20",
                                  "Дата и время анализа (ДК)=15.11.2023, 00:13:20", "Кол-во измерений ГД=1",
                                  "Кол-во измерений ДК=1", "Оператор=Иванова"}));

    list[3].passport.operatorName = "иванова"; // differs in letter case only: two operators
    pugi::xml_node root2 = doc.append_child("root2");
    WriteTable1(root2, {list, 1, 1, ""});
    const auto rows = Rows(root2.child("Table1"));
    EXPECT_EQ(rows[rows.size() - 2], "Оператор (ГД)=Иванова");
    EXPECT_EQ(rows.back(), "Оператор (ДК)=иванова");
}

TEST(ReportSettings, EachSectionHeaderFollowsItsOwnSixSwitches) {
    // One switch on at a time: the six "GD_" switches belong to the gas, the six "CD_" ones to the
    // condensate, and the unstable liquid's switch to neither.
    for (std::size_t on = 0; on < kReportSwitchCount; ++on) {
        ReportSettings s;
        s.switches.fill(0);
        s.switches[on] = 1;
        EXPECT_EQ(s.AnyGas(), on < 6) << ReportSwitchKey(static_cast<ReportSwitch>(on));
        EXPECT_EQ(s.AnyCondensate(), on >= 6 && on < 12) << ReportSwitchKey(static_cast<ReportSwitch>(on));
    }
    ReportSettings none;
    none.switches.fill(0);
    EXPECT_FALSE(none.AnyGas());
    EXPECT_FALSE(none.AnyCondensate());
}

TEST(ReportSettings, StoredSwitchesDefaultOnAndRoundTrip) {
    MemorySettingsStore store;
    ReportSettings s = LoadReportSettings(store);
    EXPECT_TRUE(s.On(ReportSwitch::RezNLH));
    EXPECT_TRUE(s.AnyGas());
    EXPECT_EQ(s.patchExport, "");
    for (std::size_t i = 0; i < 6; ++i)
        s.switches[i] = 0;
    s.Set(ReportSwitch::CD_CSR, false);
    s.patchExport = "/tmp/x.xml";
    SaveReportSettings(store, s);
    const ReportSettings back = LoadReportSettings(store);
    EXPECT_FALSE(back.AnyGas());
    EXPECT_TRUE(back.AnyCondensate());
    EXPECT_FALSE(back.On(ReportSwitch::CD_CSR));
    EXPECT_EQ(back.patchExport, ""); // the switches' save leaves the export path alone
    EXPECT_EQ(store.ReadInt("report_settings", "GD_AnComp", 7), 0);
    ReportSwitch found{};
    ASSERT_TRUE(FindReportSwitch("CD_AnFract", found));
    EXPECT_EQ(found, ReportSwitch::CD_AnFract);
    EXPECT_FALSE(FindReportSwitch("gd_ancomp", found));
}

} // namespace
} // namespace talvex
