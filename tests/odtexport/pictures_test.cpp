#include "odt_fixture.h"
#include "zip_replace_seam.h"

#include "brisquel.h"

#include <gtest/gtest.h>

namespace brisquel_test {
namespace {

std::string Frame(const std::string& name, const std::string& href) {
    return "<text:p><draw:frame draw:name=\"" + name + "\"><draw:image xlink:href=\"" + href +
           "\"/></draw:frame></text:p>";
}

class Pictures : public ::testing::Test {
protected:
    // Exports a template with two pictures, a logo and a chart, and returns the result code.
    int ExportWith(const std::string& dataXml) {
        const auto templ = WriteTemplate(
            folder_,
            ContentXml(Frame("Logo", "Pictures/logo.png") + Frame("Chart", "Pictures/chart.png") +
                       Frame("Stray", "Pictures/none.png")),
            {{"Pictures/logo.png", "LOGO"}, {"Pictures/chart.png", "OLD CHART"}});
        return RunExport(ParseData(dataXml), templ, output_);
    }
    std::string Picture(const char* name) const { return ReadZipEntry(output_, name).value_or("<missing>"); }

    TempFolder folder_;
    std::filesystem::path output_ = folder_ / "report.odt";
};

TEST_F(Pictures, FrameNamedByADataElementGetsThatFile) {
    const auto chart = folder_.Write("new chart.png", "NEW CHART");
    ASSERT_EQ(ExportWith("<root><Chart>" + chart.string() + "</Chart></root>"), BRISQUEL_OK);
    EXPECT_EQ(Picture("Pictures/chart.png"), "NEW CHART");
    EXPECT_EQ(Picture("Pictures/logo.png"), "LOGO");
}

TEST_F(Pictures, PictureStaysWhenItsFileCannotBeRead) {
    // A missing file, a folder, an empty file and an empty path: the export succeeds, the picture stays.
    const auto empty = folder_.Write("empty.png", "");
    for (const std::string& path :
         {(folder_ / "missing.png").string(), folder_.path().string(), empty.string(), std::string()}) {
        ASSERT_EQ(ExportWith("<root><Chart>" + path + "</Chart><Stray>" + path + "</Stray></root>"),
                  BRISQUEL_OK)
            << path;
        EXPECT_EQ(Picture("Pictures/chart.png"), "OLD CHART") << path;
    }
}

TEST_F(Pictures, FailedReplacementLeavesThePictureAndTheReportIsWritten) {
    const auto chart = folder_.Write("chart.png", "NEW CHART");
    FailZipReplaceOf("Pictures/chart.png");
    const int result = ExportWith("<root><Chart>" + chart.string() + "</Chart></root>");
    FailZipReplaceOf(nullptr);
    ASSERT_EQ(result, BRISQUEL_OK);
    EXPECT_EQ(Picture("Pictures/chart.png"), "OLD CHART");
}

} // namespace
} // namespace brisquel_test
