#include "core/report/boiling_curve_report.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "core/nlh/nlh.h"
#include "core/report/report_document.h"
#include "core/section8/condensate.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace talvex {
namespace {

namespace fs = std::filesystem;

// The example session, computed once for every case.
class CurveReport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        session_ = new Session(profile_, fs::path(TALVEX_SOURCE_DIR) / "data");
        ASSERT_TRUE(session_->LoadComponents().empty());
        ASSERT_TRUE(TypeExampleDegassing(session_->Degassing(), 3));
        ASSERT_TRUE(session_->AddFiles(ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")));
    }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }

    void Build(pugi::xml_document& doc, const SettingsStore& settings) const {
        BuildReportDocument(doc, {session_->Chromatograms(), session_->Section7(), session_->Condensate(),
                                  session_->Nlh(), settings, "ГХ-2", 1700000000});
    }

    static MemorySettingsStore profile_;
    static Session* session_;
};

MemorySettingsStore CurveReport::profile_;
Session* CurveReport::session_ = nullptr;

TEST_F(CurveReport, TheTableOfValuesWithDecimalCommasAndThePictureOnlyWhenNamed) {
    MemorySettingsStore settings;
    pugi::xml_document doc;
    Build(doc, settings);
    const pugi::xml_node table = doc.child("root").child("Table20");
    ASSERT_TRUE(table);
    std::size_t rows = 0;
    for (pugi::xml_node row : table.children("row")) {
        ++rows;
        EXPECT_FALSE(std::string(row.child_value("title")).empty());
        for (const char* value : {"DK_Val", "NLH_Val"})
            EXPECT_EQ(std::string(row.child_value(value)).find('.'), std::string::npos)
                << row.child_value("title") << " " << row.child_value(value);
    }
    EXPECT_GE(rows, 21u);
    EXPECT_STREQ(table.first_child().child_value("title"), "НК (IBP), °C");
    // The unstable liquid holds the degassing gas: its curve starts far below the condensate's.
    EXPECT_NE(std::string(table.first_child().child_value("NLH_Val")),
              table.first_child().child_value("DK_Val"));
    EXPECT_NE(std::string(table.first_child().child_value("NLH_Val")).find(','), std::string::npos);

    // An XML export names no picture; the ODT report names the file its caller wrote.
    EXPECT_FALSE(doc.child("root").child("BoilCurvePic"));
    EXPECT_FALSE(doc.child("root").child("Table21"));
    AppendBoilingCurvePicture(doc, "/tmp/curve.svg");
    AppendBoilingCurvePicture(doc, "/tmp/curve2.svg"); // named again: still one picture
    EXPECT_STREQ(doc.child("root").child_value("BoilCurvePic"), "/tmp/curve2.svg");
    for (const char* name : {"BoilCurvePic", "Table21"})
        EXPECT_EQ(
            std::distance(doc.child("root").children(name).begin(), doc.child("root").children(name).end()),
            1)
            << name;
    EXPECT_EQ(std::distance(doc.child("root").child("Table21").children().begin(),
                            doc.child("root").child("Table21").children().end()),
              1);
}

TEST_F(CurveReport, FollowsTheModeAndTheSwitchOfItsSection) {
    const struct {
        int mode;
        const char* switchOff; // nullptr: every switch on
        bool table;
    } cases[] = {
        {2, nullptr, true}, {2, "RezNLH", false},    {2, "CD_AnComp", true},
        {1, nullptr, true}, {1, "CD_AnComp", false}, {0, nullptr, false},
    };
    for (const auto& c : cases) {
        MemorySettingsStore settings;
        settings.WriteInt("settings", "ModeCalc", c.mode);
        if (c.switchOff)
            settings.WriteInt("report_settings", c.switchOff, 0);
        pugi::xml_document doc;
        Build(doc, settings);
        EXPECT_EQ(static_cast<bool>(doc.child("root").child("Table20")), c.table)
            << "mode " << c.mode << " off " << (c.switchOff ? c.switchOff : "-");
        // Without the table there is no frame to fill: the picture is not named either.
        AppendBoilingCurvePicture(doc, "/tmp/curve.svg");
        EXPECT_EQ(static_cast<bool>(doc.child("root").child("BoilCurvePic")), c.table);
    }
}

TEST(CurveReportWithoutResults, WritesNothingWithoutACurve) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("root");
    WriteBoilingCurveReport(root, CondensateResult{}, NlhResult{}, 3);
    EXPECT_FALSE(root.first_child());
    const std::string svg = BoilingCurvePictureSvg(CondensateResult{}, NlhResult{});
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

} // namespace
} // namespace talvex
