// The spreadsheet export with the real office suite on the example session: the written .xls, read back
// by LibreOffice, holds the names, values and row heights the export asked for; every failure ends the
// office suite and leaves a clear message.
#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "core/report/office_conversion.h"
#include "core/report/spreadsheet_export.h"
#include "core/report/uno_spreadsheet.h"
#include "flat_spreadsheet.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <future>
#include <pwd.h>
#include <unistd.h>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::FlatSheet;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const fs::path kBin = TALVEX_BIN_DIR;

std::string Cell(char column, int row) {
    return std::string(1, column) + std::to_string(row);
}

// Processes whose command line mentions `text`.
int ProcessesMentioning(const std::string& text) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (line.find(text) != std::string::npos) {
            std::ifstream stat(entry.path() / "stat");
            std::string pid, name, state;
            if (stat >> pid >> name >> state && state != "Z")
                ++count;
        }
    }
    return count;
}

// The example session as the README's demo computes it, with the degassing page filled in.
class SpreadsheetOffice : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FindOfficeSuite() || !FindProgram(kBridgeInterpreter))
            GTEST_SKIP() << "LibreOffice or " << kBridgeInterpreter << " is not installed";
        // The office suite's temporary folders go here, so that the test can see them go.
        savedTmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        fs::create_directories(dir_ / "tmp");
        ::setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
        session_ = std::make_unique<Session>(settings_, fs::path(TALVEX_SOURCE_DIR) / "data");
        ASSERT_TRUE(session_->LoadComponents().empty());
        ASSERT_TRUE(TypeExampleDegassing(session_->Degassing(), 3));
        const std::vector<std::string> files = ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples");
        ASSERT_TRUE(session_->AddFiles(files)) << session_->RecalcError();
    }
    void TearDown() override {
        if (savedTmp_.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", savedTmp_.c_str(), 1);
    }

    SpreadsheetInputs Inputs() const {
        return {session_->Section7(), session_->Condensate(), session_->Nlh(),
                session_->Degassing().Parameters()};
    }

    bool Export(const fs::path& templ, const fs::path& target, AutomationFailure& failure) {
        UnoSpreadsheet office(SpreadsheetBridgePath(kBin), kOfficeTimeLimit, kOfficeTimeLimit);
        return SpreadsheetExport(office, templ, target, Inputs(), failure);
    }

    // The written workbook as LibreOffice reads it back.
    std::vector<FlatSheet> ReadBack(const fs::path& xls) {
        std::string error;
        const fs::path fods = dir_ / (xls.stem().string() + ".fods");
        EXPECT_TRUE(ConvertWithOffice(xls, "fods", fods, kOfficeTimeLimit, error)) << error;
        return testing::ReadFlatSpreadsheet(fods);
    }

    // Nothing of the office suite is left: no temporary profile, no process.
    void ExpectOfficeGone() {
        for (const auto& entry : fs::directory_iterator(dir_ / "tmp"))
            ADD_FAILURE() << "left behind: " << entry.path();
        EXPECT_EQ(ProcessesMentioning((dir_ / "tmp").string()), 0);
    }

    testing::TempFolder dir_;
    std::string savedTmp_;
    MemorySettingsStore settings_;
    std::unique_ptr<Session> session_;
};

// The rows of a listed sheet: names from row `first`, numbers in two columns as the export writes them.
void ExpectListed(const FlatSheet& sheet, int first, const std::vector<std::string>& names,
                  const std::vector<std::pair<double, double>>& values, char valueColumn) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int row = first + static_cast<int>(i);
        SCOPED_TRACE(row);
        EXPECT_EQ(sheet.At(Cell('A', row)), names[i]);
        const auto [v1, v2] = values[i];
        const char c1 = valueColumn, c2 = static_cast<char>(valueColumn + 1);
        if (v1 > 0)
            EXPECT_NEAR(sheet.Number(Cell(c1, row)), v1, 1e-12 * std::abs(v1));
        else
            EXPECT_EQ(sheet.At(Cell(c1, row)), "---");
        if (v2 >= 0)
            EXPECT_NEAR(sheet.Number(Cell(c2, row)), v2, 1e-12 * std::abs(v2) + 1e-15);
        else
            EXPECT_EQ(sheet.At(Cell(c2, row)), "---");
    }
    // The list ends there.
    EXPECT_NE(sheet.At(Cell('A', first + static_cast<int>(names.size()))), "---");
}

TEST_F(SpreadsheetOffice, TheExampleSessionLandsInACopyOfTheTemplate) {
    const fs::path templ = kBin / kXlsTemplateFileName;
    const std::string templateBytes = testing::ReadBytes(templ);
    const fs::path target = dir_ / "Отчет 1.xls";
    AutomationFailure failure;
    ASSERT_TRUE(Export(templ, target, failure)) << failure.caption << ": " << failure.text;
    EXPECT_EQ(testing::ReadBytes(templ), templateBytes) << "the template was changed";
    ExpectOfficeGone();

    const std::vector<FlatSheet> before =
        testing::ReadFlatSpreadsheet(fs::path(TALVEX_SOURCE_DIR) / "templates" / "Template_tlvx.fods");
    const std::vector<FlatSheet> sheets = ReadBack(target);
    ASSERT_EQ(sheets.size(), 5u);

    // Sheet 1: the condensate of method A.
    const auto& rowsA = session_->Condensate().rowsA;
    ASSERT_FALSE(rowsA.empty());
    std::vector<std::string> names;
    std::vector<std::pair<double, double>> values;
    for (const auto& row : rowsA) {
        names.push_back(row.name);
        values.emplace_back(row.average, row.accuracy);
    }
    ExpectListed(sheets[0], 27, names, values, 'D');

    // Sheet 2: the gas, component-fractional composition.
    const auto& gasRows = session_->Section7().rows[kFractionComposition];
    ASSERT_FALSE(gasRows.empty());
    names.clear();
    values.clear();
    for (const auto& row : gasRows) {
        names.push_back(row.name);
        values.emplace_back(row.average, row.deltaAbs);
    }
    ExpectListed(sheets[1], 27, names, values, 'D');

    // Sheets 1, 2 and 4: the block below the list keeps the heights it has in the template, and rows
    // added to the list are as high as the template's data rows.
    const int counts[] = {static_cast<int>(rowsA.size()), static_cast<int>(gasRows.size()),
                          static_cast<int>(session_->Nlh().rows.size())};
    for (std::size_t i = 0; i < 3; ++i) {
        const SheetLayout& layout = kSheetLayouts[i];
        SCOPED_TRACE(layout.sheet);
        const FlatSheet& written = sheets[static_cast<std::size_t>(layout.sheet - 1)];
        const FlatSheet& source = before[static_cast<std::size_t>(layout.sheet - 1)];
        const int last = layout.firstRow + counts[i] - 1;
        for (int r = layout.rowAfter; r <= layout.lastRow; ++r) {
            const int moved = last + 1 + (r - layout.rowAfter);
            EXPECT_NEAR(written.rowHeights.at(moved), source.rowHeights.at(r), 0.6) << "template row " << r;
            EXPECT_EQ(written.At(Cell('A', moved)), source.At(Cell('A', r))) << "template row " << r;
        }
        for (int r = layout.firstRow; r <= last; ++r)
            EXPECT_NEAR(written.rowHeights.at(r), source.rowHeights.at(layout.firstRow), 0.6) << r;
        // The heading cells of the spanning columns reach down to the last row.
        EXPECT_THAT(written.merges, ::testing::Contains(std::string(1, layout.merges[0]) +
                                                        std::to_string(layout.firstRow - 1) + ":" +
                                                        layout.merges[1] + std::to_string(last)));
    }

    // Sheet 3 is left as it is.
    EXPECT_EQ(sheets[2].cells, before[2].cells);

    // Sheets 4 and 5: the unstable liquid.
    const NlhResult& nlh = session_->Nlh();
    ASSERT_FALSE(nlh.rows.empty());
    const FlatSheet& four = sheets[3];
    const FlatSheet& five = sheets[4];
    for (std::size_t i = 0; i < nlh.rows.size(); ++i) {
        const NlhRow& row = nlh.rows[i];
        const int r4 = 28 + static_cast<int>(i), r5 = 7 + static_cast<int>(i);
        EXPECT_EQ(four.At(Cell('A', r4)), row.NameComp);
        EXPECT_EQ(five.At(Cell('A', r5)), row.NameComp);
        if (row.NLH_MassP > 0)
            EXPECT_NEAR(four.Number(Cell('F', r4)), row.NLH_MassP, 1e-12 * row.NLH_MassP);
        else
            EXPECT_EQ(four.At(Cell('F', r4)), "---");
        EXPECT_EQ(four.At(Cell('G', r4)), "");
        if (IsNotSet(row.GD_MassP))
            EXPECT_EQ(five.At(Cell('B', r5)), "---");
        else
            EXPECT_NEAR(five.Number(Cell('B', r5)), row.GD_MassP, 1e-12 * std::abs(row.GD_MassP));
        if (row.Component && !IsNotSet(row.Component->gas.molarMass)) {
            EXPECT_DOUBLE_EQ(five.Number(Cell('C', r5)), row.Component->gas.molarMass);
            EXPECT_DOUBLE_EQ(five.Number(Cell('E', r5)), row.Component->gas.molarMass);
        }
    }
    const int sums = 7 + static_cast<int>(nlh.rows.size());
    EXPECT_EQ(five.At(Cell('A', sums)), "Сумма, % масс.");
    EXPECT_NEAR(five.Number(Cell('B', sums)), nlh.SumGD_MassP, 1e-9);
    EXPECT_NEAR(five.Number(Cell('F', sums)), nlh.SumNLH_MassP, 1e-9);
    EXPECT_EQ(five.At(Cell('C', sums)), "");

    // The header block of the calculation sheet: method A, the gas factor in m³/t.
    const double factor = session_->Degassing().Parameters().GasFactor;
    const double density = session_->Section7().averagedProperties[kFractionComposition].density;
    ASSERT_GT(factor, 0);
    EXPECT_EQ(five.At("B2"), "м³/т");
    EXPECT_NEAR(five.Number("C2"), factor, 1e-9 * factor);
    EXPECT_EQ(five.At("B3"), "кг/т");
    EXPECT_NEAR(five.Number("C3"), nlh.GasFactorKg, 1e-9 * nlh.GasFactorKg);
    EXPECT_NEAR(five.Number("B4"), density, 1e-12 * density);
    EXPECT_NEAR(five.Number("B5"), nlh.GasMassFraction, 1e-12);
    EXPECT_NEAR(five.Number("D5"), nlh.LiquidMassFraction, 1e-12);
    EXPECT_NEAR(five.Number("F5"), 1.0, 1e-12);
    EXPECT_EQ(five.At("D2"), "");
    EXPECT_THAT(five.merges, ::testing::IsSupersetOf({"B5:C5", "D5:E5", "F5:G5"}));
}

TEST_F(SpreadsheetOffice, AFailedRequestAbandonsTheExportAndEndsTheOfficeSuite) {
    struct Case {
        fs::path templ, target;
        std::string start;
    };
    const fs::path templ = kBin / kXlsTemplateFileName;
    const fs::path notAFolder = dir_.Write("not-a-folder", "x"); // nothing can be written below it
    const Case cases[] = {
        {dir_ / "no-template.xls", dir_ / "a.xls",
         "IDispatch::Invoke(\"Open\"=00000002) failed w/err 0x80020009\n"},
        {templ, notAFolder / "a.xls", "IDispatch::Invoke(\"SaveCopyAs\"=00000005) failed w/err 0x80020009\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.string());
        AutomationFailure failure;
        EXPECT_FALSE(Export(c.templ, c.target, failure));
        EXPECT_EQ(failure.caption, "AutoWrap()");
        EXPECT_THAT(failure.text, StartsWith(c.start));
        EXPECT_FALSE(fs::exists(c.target));
        ExpectOfficeGone();
    }
}

TEST_F(SpreadsheetOffice, TwoExportsAtOnceDoNotDisturbEachOther) {
    const fs::path templ = kBin / kXlsTemplateFileName;
    auto first = std::async(std::launch::async, [&] {
        AutomationFailure failure;
        return Export(templ, dir_ / "first.xls", failure) ? std::string() : failure.text;
    });
    AutomationFailure failure;
    const bool second = Export(templ, dir_ / "second.xls", failure);
    EXPECT_EQ(first.get(), "");
    EXPECT_TRUE(second) << failure.text;
    ExpectOfficeGone();
    EXPECT_EQ(ReadBack(dir_ / "first.xls")[1].At("A27"), ReadBack(dir_ / "second.xls")[1].At("A27"));
}

// The lock file LibreOffice keeps beside a document it has open, as this user's desktop office suite would.
void LockAsOpenElsewhere(const fs::path& document) {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const passwd* user = ::getpwuid(::getuid());
    std::ofstream(document.parent_path() / (".~lock." + document.filename().string() + "#"))
        << "," << (user ? user->pw_name : "") << "," << host << ",10.12.2026 07:00,file:///nowhere;";
}

TEST_F(SpreadsheetOffice, ATemplateOpenElsewhereIsStillCopiedButAnOpenTargetIsNotReplaced) {
    const fs::path templ = dir_ / "Template_tlvx.xls";
    fs::copy_file(kBin / kXlsTemplateFileName, templ);
    LockAsOpenElsewhere(templ);
    AutomationFailure failure;
    EXPECT_TRUE(Export(templ, dir_ / "a.xls", failure)) << failure.text;

    LockAsOpenElsewhere(dir_ / "b.xls");
    EXPECT_FALSE(Export(templ, dir_ / "b.xls", failure));
    EXPECT_EQ(failure.text, "IDispatch::Invoke(\"SaveCopyAs\"=00000005) failed w/err 0x80020009\n" +
                                (dir_ / "b.xls").string() +
                                " is open in another program and cannot be replaced");
    ExpectOfficeGone();
}

TEST_F(SpreadsheetOffice, WithoutLibreOfficeTheExportSaysSo) {
    const std::string savedPath = std::getenv("PATH");
    fs::create_directories(dir_ / "empty-bin");
    ::setenv("PATH", (dir_ / "empty-bin").c_str(), 1);
    AutomationFailure failure;
    const bool done = Export(kBin / kXlsTemplateFileName, dir_ / "a.xls", failure);
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_FALSE(done);
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_THAT(failure.text, StartsWith("Excel not registered properly\nLibreOffice is not installed"));
    EXPECT_FALSE(fs::exists(dir_ / "a.xls"));
}

} // namespace
} // namespace talvex
