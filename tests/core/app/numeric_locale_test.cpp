// Everything the pages, the log and the report show is written with a decimal point, also when the
// process's numeric locale is Russian (decimal comma), as it is inside the desktop program on a Russian
// desktop before it resets it.

#include "core/app/example_session.h"
#include "core/app/peak_page.h"
#include "core/app/session.h"
#include "core/common/settings.h"
#include "core/common/settings_store.h"
#include "core/nlh/nlh.h"
#include "core/report/report_document.h"
#include "core/section7/gas_tables.h"
#include "core/section8/condensate_tables.h"
#include "russian_locale.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace talvex {
namespace {

namespace fs = std::filesystem;

std::string GridText(const GridModel& grid) {
    std::string text;
    for (const GridColumn& column : grid.columns)
        text += column.caption + "\t";
    for (const GridRow& row : grid.rows) {
        text += "\n";
        for (const std::string& cell : row.cells)
            text += cell + "\t";
    }
    return text;
}

// The example session as the desktop program holds it: every page for every table kind, the message log,
// the passports and the report document.
std::vector<std::string> ExampleSessionTexts(const fs::path& dataFolder) {
    MemorySettingsStore profile;
    Session session(profile, dataFolder);
    EXPECT_TRUE(session.LoadComponents().empty());
    EXPECT_TRUE(TypeExampleDegassing(session.Degassing(), 3));
    session.AddFiles(ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples"));
    EXPECT_EQ(session.Chromatograms().size(), 21u);

    std::vector<std::string> texts{GridText(session.ListGrid())};
    for (const COpenedChmFile& entry : session.Chromatograms()) {
        texts.push_back(GridText(session.PeakGrid(entry.fileId)));
        texts.push_back(entry.passport.Describe());
    }
    for (const TableKind kind : kTableKinds) {
        texts.push_back(GridText(session.GasGrid(kind, 3)));
        texts.push_back(GridText(session.CondensateGrid(kind, 3)));
    }
    for (const TableKind kind : kTableKinds)
        if (!IsStandardControl(kind))
            texts.push_back(GridText(session.MarkingGrid(kind, 3)));
    texts.push_back(GridText(session.NlhGrid(3)));
    for (const DegassingFieldView& field : session.Degassing().Fields())
        texts.push_back(field.caption + "\t" + field.text);
    texts.push_back(session.Log().LogText());
    pugi::xml_document report;
    BuildReportDocument(report, {session.Chromatograms(), session.Section7(), session.Condensate(),
                                 session.Nlh(), session.Settings(), "ГХ-2", 1700000000});
    texts.push_back(ReportXmlText(report));
    return texts;
}

TEST(NumericLocale, TheExampleSessionReadsTheSameUnderARussianLocaleAsUnderC) {
    testing::TempFolder folder;
    testing::CopyShippedDataFolder(folder / "data");
    const std::vector<std::string> underC = ExampleSessionTexts(folder / "data");
    std::vector<std::string> underRussian;
    {
        TALVEX_RUSSIAN_NUMERIC_LOCALE(russian);
        underRussian = ExampleSessionTexts(folder / "data");
    }
    ASSERT_EQ(underRussian.size(), underC.size());
    for (std::size_t i = 0; i < underC.size(); ++i)
        EXPECT_EQ(underRussian[i], underC[i]) << "text " << i;
}

TEST(NumericLocale, PeakPageAndPassportKeepTheDecimalPoint) {
    TALVEX_RUSSIAN_NUMERIC_LOCALE(russian);
    CPeeksTable peaks;
    cmpeek peak;
    peak.name = "Метан";
    peak.area = 128.261;
    peak.retentionTime = 1.5;
    peaks.push_back(peak);
    EXPECT_EQ(BuildPeakGrid(peaks).rows.at(0).cells,
              (std::vector<std::string>{"1", "Метан", "128.261", "1.500"}));

    CPassport passport;
    passport.volume = 0.5;
    passport.dilution = 2.25;
    passport.norm = 1e6;
    passport.duration = 30.5;
    const std::string text = passport.Describe();
    EXPECT_NE(text.find("Объём: 0.5        Разведение: 2.25        Норма: 1e+06\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Продолжительность: 30.5 мин"), std::string::npos) << text;
}

} // namespace
} // namespace talvex
