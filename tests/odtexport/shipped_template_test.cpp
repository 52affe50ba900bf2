// The template the program ships, filled with the report of the bundled example session.
#include "odt_fixture.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "core/report/boiling_curve_report.h"
#include "core/report/odt_report.h"
#include "core/report/provenance_block.h"
#include "core/report/report_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>

namespace brisquel_test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kTemplate = fs::path(TALVEX_SOURCE_DIR) / "templates" / "Template_tlvx.odt";

// Every text node of the template's content, in document order.
std::vector<std::string> TextNodes(pugi::xml_document& doc) {
    std::vector<std::string> texts;
    struct Walker : pugi::xml_tree_walker {
        std::vector<std::string>* texts;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_pcdata)
                texts->emplace_back(node.value());
            return true;
        }
    } walker;
    walker.texts = &texts;
    doc.traverse(walker);
    return texts;
}

// The report of the example session: three gas and three condensate analyses, every control run, the
// degassing inputs of the README's demo.
class ExampleReport : public ::testing::Test {
protected:
    void SetUp() override {
        talvex::Session session(settings_, fs::path(TALVEX_SOURCE_DIR) / "data");
        ASSERT_TRUE(session.LoadComponents().empty());
        ASSERT_TRUE(talvex::TypeExampleDegassing(session.Degassing(), 3));
        const std::vector<std::string> files =
            talvex::ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples");
        ASSERT_TRUE(session.AddFiles(files));
        talvex::BuildReportDocument(report_,
                                    {session.Chromatograms(), session.Section7(), session.Condensate(),
                                     session.Nlh(), settings_, "ГХ-2", 1700000000});
        curveSvg_ = talvex::BoilingCurvePictureSvg(session.Condensate(), session.Nlh());
    }

    // The filled content.xml written for the report with the shipped template.
    std::string FilledContent() {
        const fs::path odt = dir_ / "report.odt";
        EXPECT_EQ(talvex::WriteOdtReport(report_, kTemplate, odt), 0);
        return ReadZipEntry(odt, "content.xml").value_or("");
    }

    talvex::MemorySettingsStore settings_;
    pugi::xml_document report_;
    std::string curveSvg_;
    TempFolder dir_;
};

// A preview is opened only once it is whole, through the caller's opener, and exactly once.
TEST_F(ExampleReport, TheCallersOpenerGetsTheWholeWrittenFile) {
    const fs::path odt = dir_ / "preview.odt";
    std::vector<fs::path> opened;
    std::optional<std::string> contentWhenOpened;
    ASSERT_EQ(talvex::WriteOdtReport(report_, kTemplate, odt,
                                     [&](const fs::path& written) {
                                         opened.push_back(written);
                                         contentWhenOpened = ReadZipEntry(written, "content.xml");
                                     }),
              0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], odt);
    EXPECT_EQ(contentWhenOpened, ReadZipEntry(odt, "content.xml"));
    EXPECT_TRUE(contentWhenOpened && contentWhenOpened->find("ГХ-2") != std::string::npos);
}

TEST(ShippedTemplate, HoldsEveryReportTableAndKeepsEachMarkerInOneTextRun) {
    const std::optional<std::string> content = ReadZipEntry(kTemplate, "content.xml");
    ASSERT_TRUE(content);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(content->c_str()));
    std::string all;
    for (const std::string& text : TextNodes(doc)) {
        // A marker split over two runs would not be found: every "#" in a text has its partner there.
        EXPECT_EQ(std::count(text.begin(), text.end(), '#') % 2, 0) << text;
        all += text;
    }
    for (int n = 1; n <= 21; ++n)
        EXPECT_THAT(all, HasSubstr("#Table" + std::to_string(n) + "#"));
    for (const char* key : {"#DateCreated#", "#Header_S7#", "#Header_S8#", "#Header_S9#", "#MassP#",
                            "#NLH_MassP#", "#Provenance#"})
        EXPECT_THAT(all, HasSubstr(key));
}

TEST_F(ExampleReport, FillsEveryTableAndLeavesNoMarker) {
    const std::string content = FilledContent();
    ASSERT_FALSE(content.empty());
    pugi::xml_document filled;
    ASSERT_TRUE(filled.load_string(content.c_str()));
    for (const std::string& text : TextNodes(filled))
        EXPECT_EQ(text.find('#'), std::string::npos) << "a marker was left unfilled: " << text;
    for (const char* text : {"Газ дегазации", "Дегазированный конденсат", "Результаты расчета НЖУ", "ГХ-2",
                             "Газовый фактор, (кг/т)", "Метан", "Сумма масс %:"})
        EXPECT_THAT(content, HasSubstr(text));
    // Each "row" of a report table became one table row: the analysis runs of both chromatogram lists
    // (three gas analyses on three detectors, three condensate analyses) each carry their "Ан - N".
    const std::regex analysisNumber("Ан - [0-9]");
    EXPECT_EQ(std::distance(std::sregex_iterator(content.begin(), content.end(), analysisNumber),
                            std::sregex_iterator()),
              12);
}

TEST_F(ExampleReport, TheBoilingCurvesPictureAndValuesGoIntoTheReport) {
    const fs::path picture = dir_ / "curve.svg";
    {
        std::ofstream out(picture, std::ios::binary);
        out << curveSvg_;
    }
    const fs::path odt = dir_ / "report.odt";
    // Without a named picture the values come without the picture's table: no blank frame.
    ASSERT_EQ(talvex::WriteOdtReport(report_, kTemplate, odt), 0);
    const std::string withoutPicture = ReadZipEntry(odt, "content.xml").value_or("");
    EXPECT_THAT(withoutPicture, HasSubstr(">НК (IBP), °C<"));
    EXPECT_EQ(withoutPicture.find("BoilCurvePic"), std::string::npos);
    talvex::AppendBoilingCurvePicture(report_, picture);
    ASSERT_EQ(talvex::WriteOdtReport(report_, kTemplate, odt), 0);
    EXPECT_EQ(ReadZipEntry(odt, "Pictures/boiling_curve.svg"), curveSvg_);
    const std::string content = ReadZipEntry(odt, "content.xml").value_or("");
    for (const char* text : {"Кривая разгонки (", "draw:name=\"BoilCurvePic\"", ">НК (IBP), °C<",
                             ">Конец кривой, °C<", "image/svg+xml"})
        EXPECT_THAT(content, HasSubstr(text));
}

TEST_F(ExampleReport, EndsWithWhatItWasComputedFromOneLineAParagraph) {
    talvex::Provenance provenance;
    provenance.programVersion = "0.1.0";
    provenance.calculatedAt = 1700000000;
    provenance.chromatograms = {
        {"runs/gd-1-fid.stg", "726eb80e03d587e1891f79a1c3d7db1b828943e9dd721a6574022b85255e6dd4"},
        {"runs/gd-1-tcd1.stg", ""}};
    talvex::AppendProvenance(report_, provenance, "ГХ-2");
    const std::string content = FilledContent();
    const std::size_t signature = content.find("Начальник лаборатории");
    const std::size_t block = content.find(">Сведения о расчете<");
    ASSERT_NE(block, std::string::npos);
    EXPECT_GT(block, signature);
    std::size_t at = block;
    for (const char* line :
         {">Программа: Talvex 0.1.0<", ">Прибор: ГХ-2<", ">Время расчета: 14.11.2023, 22:13:20<",
          ">runs/gd-1-fid.stg  726eb80e03d5<", ">runs/gd-1-tcd1.stg  не читается<"}) {
        const std::size_t next = content.find(line, at);
        EXPECT_NE(next, std::string::npos) << line;
        at = next == std::string::npos ? at : next;
    }
    EXPECT_EQ(content.find("#Provenance#"), std::string::npos);
}

TEST_F(ExampleReport, TablesSwitchedOffLeaveNoTraceButTheSummary) {
    for (const char* key :
         {"GD_ChrmList", "GD_AnComp", "GD_AnFract", "GD_CSS_Comp", "GD_CSS_Fract", "GD_CSR", "CD_ChrmList",
          "CD_AnComp", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR", "RezNLH"})
        settings_.WriteInt("report_settings", key, 0);
    SetUp();
    const std::string content = FilledContent();
    ASSERT_FALSE(content.empty());
    EXPECT_THAT(content, HasSubstr("Сведения о пробе и анализе"));
    EXPECT_THAT(content, HasSubstr("ГХ-2"));
    for (const char* gone : {"Список хроматограмм", "Результаты анализа", "Компонентный состав НЖУ",
                             "Параметры дегазации", "table:name=\"Table2\"", "table:name=\"Table19\"",
                             "table:name=\"Table20\"", "table:name=\"Table21\"", "BoilCurvePic"})
        EXPECT_EQ(content.find(gone), std::string::npos) << gone;
}

} // namespace
} // namespace brisquel_test
