#include "condensate_result_fixture.h"

#include "core/common/settings_store.h"
#include "core/section8/condensate_report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace talvex {
namespace {

class CondensateReportTest : public testing::CondensateResultFixture {
protected:
    std::string Write() {
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("root");
        EXPECT_EQ(WriteCondensateReport(root, result_, 3, LoadReportSettings(settings_)), 0);
        std::ostringstream out;
        root.print(out, "", pugi::format_raw);
        return out.str();
    }

    MemorySettingsStore settings_;
};

TEST_F(CondensateReportTest, CompositionRowsChainTheirPerAnalysisValues) {
    for (const char* key : {"CD_ChrmList", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR"})
        settings_.WriteInt(kReportSettingsSection, key, 0);
    EXPECT_EQ(Write(),
              "<root><Header_S8>Дегазированный конденсат</Header_S8><Table11>"
              "<row><NameComp>н-Гексан</NameComp><MassP>1,000<MassP>1,100<MassP>1,050</MassP></MassP>"
              "</MassP><AvMassP>1,050</AvMassP><d>0,042</d><diff>9,524</diff><r>10,000</r><r_OK>Да</r_OK>"
              "</row><row><NameComp>Пропан</NameComp><MassP>---<MassP>0,250<MassP>---</MassP></MassP>"
              "</MassP><AvMassP>0,250</AvMassP><d>---</d><diff>---</diff><r>---</r><r_OK>---</r_OK></row>"
              "<row><NameComp>Сумма</NameComp><AvMassP>1,300</AvMassP><MassP>100,000<MassP>100,000"
              "<MassP>100,000</MassP></MassP></MassP></row></Table11><Table12><row><MM>5601,382</MM></row>"
              "</Table12></root>");
}

TEST_F(CondensateReportTest, TheStandardControlWritesNoFiguresForMemberLines) {
    for (const char* key : {"CD_ChrmList", "CD_AnComp", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract"})
        settings_.WriteInt(kReportSettingsSection, key, 0);
    EXPECT_EQ(Write(),
              "<root><Header_S8>Дегазированный конденсат</Header_S8><Table17>"
              "<row><NameComp>F90-100</NameComp><MassP>4,100</MassP><CS_MassP>4,000</CS_MassP><Kk>0,100</Kk>"
              "<K>0,200</K><r_OK>Да</r_OK></row><row><NameComp>н-Гептан</NameComp><MassP>4,100</MassP>"
              "<CS_MassP>4,000</CS_MassP></row></Table17></root>");
}

TEST_F(CondensateReportTest, NothingWithoutARootOrWithEverySwitchOff) {
    EXPECT_EQ(WriteCondensateReport(pugi::xml_node(), result_, 3, ReportSettings{}), -1);
    for (const char* key :
         {"CD_ChrmList", "CD_AnComp", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR"})
        settings_.WriteInt(kReportSettingsSection, key, 0);
    EXPECT_EQ(Write(), "<root/>");
}

} // namespace
} // namespace talvex
