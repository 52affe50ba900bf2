// The ODT and PDF reports of `talvex-cli run`: the example session written with the shipped template,
// the failures an operator must see, and (when LibreOffice is installed) the PDF and the report's text as
// LibreOffice reads it.
#include "run_cli.h"

#include "core/common/child_process.h"
#include "core/report/office_conversion.h"
#include "test_files.h"
#include "zip_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::RunProgram;

std::vector<std::string> ExampleFiles(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".stg")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

class ReportOutputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "config");
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }

    // The example session as the README's demo runs it, plus the given output options.
    // The files are read from `examples` (by default the bundled folder).
    testing::CommandResult RunExample(std::vector<std::string> outputs,
                                      const fs::path& examples = fs::path(TALVEX_SOURCE_DIR) / "examples") {
        std::vector<std::string> args = {"run", "--data-dir", std::string(TALVEX_SOURCE_DIR) + "/data",
                                         "--device", "ГХ-2 зав. № 114"};
        const std::vector<std::string> degassing = testing::ExampleDegassingOptions();
        args.insert(args.end(), degassing.begin(), degassing.end());
        args.insert(args.end(), outputs.begin(), outputs.end());
        for (const std::string& file : ExampleFiles(examples))
            args.push_back(file);
        return RunProgram("talvex-cli", args);
    }

    testing::TempFolder dir_;
};

// PATH pointing at an empty folder for the lifetime of the object: no office suite can be found.
class PathWithoutOffice {
public:
    explicit PathWithoutOffice(const fs::path& emptyFolder) : saved_(std::getenv("PATH")) {
        fs::create_directories(emptyFolder);
        ::setenv("PATH", emptyFolder.c_str(), 1);
    }
    ~PathWithoutOffice() { ::setenv("PATH", saved_.c_str(), 1); }

private:
    std::string saved_;
};

TEST_F(ReportOutputsTest, WritesTheOdtReportWithTheTemplateBesideTheProgram) {
    const fs::path odt = dir_ / "report.odt";
    const auto r = RunExample({"--odt", odt.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string bytes = testing::ReadBytes(odt);
    // An OpenDocument file: a ZIP whose first entry is the stored mimetype.
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes.substr(0, 2), "PK");
    EXPECT_THAT(bytes.substr(0, 120), HasSubstr("mimetypeapplication/vnd.oasis.opendocument.text"));
    // The boiling curves are drawn in it, as in the desktop program's report.
    const std::optional<std::string> picture = testing::ReadZipEntry(odt, "Pictures/boiling_curve.svg");
    ASSERT_TRUE(picture);
    EXPECT_THAT(*picture, HasSubstr("% отгона"));
    EXPECT_THAT(testing::ReadZipEntry(odt, "content.xml").value_or(""),
                HasSubstr("draw:name=\"BoilCurvePic\""));
}

TEST_F(ReportOutputsTest, AMissingOrBrokenTemplateIsTheReportError) {
    const fs::path broken = dir_ / "broken.odt";
    { std::ofstream(broken) << "not a zip archive"; }
    struct Case {
        fs::path templ;
        const char* reason;
    };
    for (const Case& c : {Case{dir_ / "missing.odt", "could not be copied"},
                          Case{broken, "not an OpenDocument (ZIP) file"}}) {
        SCOPED_TRACE(c.templ.string());
        const fs::path odt = dir_ / "report.odt";
        const auto r = RunExample({"--template", c.templ.string(), "--odt", odt.string()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_THAT(r.err, HasSubstr("Произошла ошибка при сохранении отчета."));
        EXPECT_THAT(r.err, HasSubstr(c.reason));
        fs::remove(odt);
    }
}

TEST_F(ReportOutputsTest, APdfWithoutLibreOfficeSaysWhatIsMissingAndWritesNothing) {
    const fs::path pdf = dir_ / "report.pdf";
    testing::CommandResult r;
    {
        // The program itself is started by path; only its own lookup of soffice sees the empty PATH.
        PathWithoutOffice noOffice(dir_ / "empty-bin");
        r = RunExample({"--pdf", pdf.string()});
    }
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("LibreOffice is not installed"));
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(ReportOutputsTest, LibreOfficeReadsTheReportAndTwoConversionsRunAtOnce) {
    if (!FindOfficeSuite())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const fs::path odt = dir_ / "report.odt";
    const fs::path pdf1 = dir_ / "first.pdf";
    const fs::path pdf2 = dir_ / "second.pdf";
    // Two conversions at the same time, each with a profile of its own: neither blocks the other. Both
    // sessions read the same chromatogram files: readers share them.
    auto first = std::async(std::launch::async, [&] {
        return RunExample({"--odt", odt.string(), "--pdf", pdf1.string()});
    });
    auto second = std::async(std::launch::async, [&] { return RunExample({"--pdf", pdf2.string()}); });
    const auto r1 = first.get();
    const auto r2 = second.get();
    ASSERT_EQ(r1.exitCode, 0) << r1.err;
    ASSERT_EQ(r2.exitCode, 0) << r2.err;
    for (const fs::path& pdf : {pdf1, pdf2})
        EXPECT_EQ(testing::ReadBytes(pdf).substr(0, 5), "%PDF-") << pdf;

    // The report as LibreOffice reads it: every section and the example session's numbers.
    const fs::path text = dir_ / "report.txt";
    std::string error;
    ASSERT_TRUE(ConvertWithOffice(odt, "txt", text, kOfficeTimeLimit, error)) << error;
    const std::string report = testing::ReadBytes(text);
    for (const char* expected : {
             "ГХ-2 зав. № 114", // Table1, the instrument
             "Газ дегазации",   // the section headings
             "Дегазированный конденсат",
             "Результаты расчета НЖУ",
             "Метан", // a gas component and its average mass share
             "52,304",
             "Газовый фактор, (кг/т)", // the degassing parameters and the gas factor
             "130,946",
         })
        EXPECT_THAT(report, HasSubstr(expected));
    EXPECT_EQ(report.find("#Table"), std::string::npos) << "a table marker was left in the report";
}

} // namespace
} // namespace talvex
