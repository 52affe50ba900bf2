#include "core/report/report_document.h"

#include "core/common/settings_store.h"
#include "core/nlh/nlh.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

std::vector<std::string> RootChildren(const pugi::xml_document& doc) {
    std::vector<std::string> names;
    for (pugi::xml_node n : doc.child("root").children())
        names.emplace_back(n.name());
    return names;
}

struct Results {
    ChromatogramList list;
    Section7Result gas;
    CondensateResult condensate;
    NlhResult nlh;
    MemorySettingsStore settings;

    ReportInputs Inputs() { return {list, gas, condensate, nlh, settings, "ГХ-2", 1700000000}; }
};

TEST(ReportDocument, ModeAndSwitchesChooseTheSections) {
    Results r;
    pugi::xml_document doc;
    BuildReportDocument(doc, r.Inputs());
    EXPECT_STREQ(doc.first_child().name(), "xml");
    EXPECT_STREQ(doc.first_child().attribute("encoding").value(), "utf-8");
    EXPECT_STREQ(doc.child("root").child("DateCreated").text().get(), "14.11.2023, 22:13:20");
    const auto full = RootChildren(doc);
    EXPECT_EQ(full.front(), "DateCreated");
    EXPECT_NE(std::find(full.begin(), full.end(), "Header_S7"), full.end());
    EXPECT_NE(std::find(full.begin(), full.end(), "Header_S9"), full.end());

    r.settings.WriteInt("report_settings", "RezNLH", 0);
    BuildReportDocument(doc, r.Inputs());
    const auto noNlh = RootChildren(doc);
    EXPECT_EQ(std::find(noNlh.begin(), noNlh.end(), "Header_S9"), noNlh.end());
    EXPECT_EQ(std::find(noNlh.begin(), noNlh.end(), "Table18"), noNlh.end());
    EXPECT_NE(std::find(noNlh.begin(), noNlh.end(), "Header_S8"), noNlh.end());

    // A second build is the same document, not one with every node twice.
    const std::string first = ReportXmlText(doc);
    BuildReportDocument(doc, r.Inputs());
    EXPECT_EQ(ReportXmlText(doc), first);

    for (const char* key :
         {"GD_ChrmList", "GD_AnComp", "GD_AnFract", "GD_CSS_Comp", "GD_CSS_Fract", "GD_CSR", "CD_ChrmList",
          "CD_AnComp", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR"})
        r.settings.WriteInt("report_settings", key, 0);
    BuildReportDocument(doc, r.Inputs());
    EXPECT_EQ(RootChildren(doc), (std::vector<std::string>{"DateCreated", "Table1"}));

    r.settings.WriteInt("report_settings", "CD_AnComp", 1);
    r.settings.WriteInt("settings", "ModeCalc", 0); // gas only: no condensate node whatever its switches
    BuildReportDocument(doc, r.Inputs());
    EXPECT_EQ(RootChildren(doc), (std::vector<std::string>{"DateCreated", "Table1"}));
}

TEST(ReportDocument, XmlTextHasTheDeclarationAndTabIndentation) {
    Results r;
    for (const char* key :
         {"GD_ChrmList", "GD_AnComp", "GD_AnFract", "GD_CSS_Comp", "GD_CSS_Fract", "GD_CSR", "CD_ChrmList",
          "CD_AnComp", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR", "RezNLH"})
        r.settings.WriteInt("report_settings", key, 0);
    pugi::xml_document doc;
    BuildReportDocument(doc, r.Inputs());
    EXPECT_EQ(ReportXmlText(doc), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                  "<root>\n"
                                  "\t<DateCreated>14.11.2023, 22:13:20</DateCreated>\n"
                                  "\t<Table1>\n"
                                  "\t\t<row>\n"
                                  "\t\t\t<title>Имя прибора</title>\n"
                                  "\t\t\t<DataString>ГХ-2</DataString>\n"
                                  "\t\t</row>\n"
                                  "\t\t<row>\n"
                                  "\t\t\t<title>Кол-во измерений ГД</title>\n"
                                  "\t\t\t<DataString>0</DataString>\n"
                                  "\t\t</row>\n"
                                  "\t\t<row>\n"
                                  "\t\t\t<title>Кол-во измерений ДК</title>\n"
                                  "\t\t\t<DataString>0</DataString>\n"
                                  "\t\t</row>\n"
                                  "\t</Table1>\n"
                                  "</root>\n");
}

} // namespace
} // namespace talvex
