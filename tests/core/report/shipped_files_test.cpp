#include "core/report/odt_report_paths.h"
#include "core/report/shipped_files.h"
#include "core/report/spreadsheet_export.h"
#include "core/report/uno_spreadsheet.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// A prefix laid out as a package installs it: <prefix>/bin for the program, <prefix>/share/talvex for
// the files it ships.
struct Prefix {
    TempFolder root;
    fs::path bin = root / "bin";
    fs::path share = root / "share" / "talvex";
    Prefix() {
        fs::create_directories(bin);
        fs::create_directories(share);
    }
    static void Put(const fs::path& file) { std::ofstream(file) << "x"; }
};

TEST(ShippedFilePath, BesideTheProgramFirstThenShareTalvex) {
    struct Case {
        const char* what;
        bool beside;
        bool installed;
        bool besideIsFolder;
        bool expectInstalled;
    };
    for (const Case& c : {Case{"beside only (build folder)", true, false, false, false},
                          Case{"installed only (package)", false, true, false, true},
                          Case{"both: the one beside wins", true, true, false, false},
                          Case{"neither: the path beside, for the message", false, false, false, false},
                          Case{"a folder of that name beside is no file", false, true, true, true}}) {
        const Prefix prefix;
        if (c.beside)
            Prefix::Put(prefix.bin / "Template_tlvx.odt");
        if (c.besideIsFolder)
            fs::create_directory(prefix.bin / "Template_tlvx.odt");
        if (c.installed)
            Prefix::Put(prefix.share / "Template_tlvx.odt");
        const fs::path expected = (c.expectInstalled ? prefix.share : prefix.bin) / "Template_tlvx.odt";
        EXPECT_EQ(ShippedFilePath(prefix.bin, "Template_tlvx.odt"), expected) << c.what;
    }
}

TEST(ShippedFilePath, TemplatesAndBridgeAreFoundInAnInstalledPrefix) {
    const Prefix prefix;
    for (const char* name : {kOdtTemplateFileName, kXlsTemplateFileName, kSpreadsheetBridgeFileName})
        Prefix::Put(prefix.share / name);
    EXPECT_EQ(OdtTemplatePath(prefix.bin), prefix.share / kOdtTemplateFileName);
    EXPECT_EQ(XlsTemplatePath(prefix.bin), prefix.share / kXlsTemplateFileName);
    EXPECT_EQ(SpreadsheetBridgePath(prefix.bin), prefix.share / kSpreadsheetBridgeFileName);
}

} // namespace
} // namespace talvex
