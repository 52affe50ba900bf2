#include "run_command.h"

#include "app/data_folder.h"
#include "app/session.h"
#include "common/data_file_io.h"
#include "common/number_text.h"
#include "common/settings.h"
#include "grid_tsv.h"
#include "qt_settings_store.h"
#include "report/report_document.h"
#include "report/report_settings.h"
#include "report_outputs.h"
#include "results_json.h"
#include "run_options.h"
#include "table_export.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>

namespace talvex::cli {
namespace {

constexpr const char* kRunUsage =
    "usage: talvex-cli run [--data-dir DIR] [--decimals N] [--mode 0|1|2]\n"
    "                      [--air N2,O2,CO2 | --no-air] [--method A|A-mod|B]\n"
    "                      [--pressure X] [--temperature X] [--sample-mass X] [--cond-mass1 X]\n"
    "                      [--cond-mass2 X] [--gas-volume1 X] [--gas-volume2 X]\n"
    "                      [--device NAME] [--switch KEY=0|1]... [--xml FILE] [--json FILE]\n"
    "                      [--odt FILE] [--pdf FILE] [--template FILE.odt] [--xls FILE]\n"
    "                      [--tables DIR] [--log] [--strict] FILE.stg...\n";

void ApplyOverrides(const RunOptions& options, OverlaySettingsStore& settings) {
    if (options.decimals)
        settings.OverrideInt(kSettingsSection, kKeyDecimals, *options.decimals);
    if (options.mode)
        settings.OverrideInt(kSettingsSection, kKeyModeCalc, *options.mode);
    if (options.airCorrection)
        settings.OverrideInt(kSettingsSection, kKeyCorrectO2, *options.airCorrection ? 1 : 0);
    for (const auto& [key, state] : options.switches)
        settings.OverrideInt(kReportSettingsSection, key, state);
    if (options.airShares.size() == 3) {
        settings.OverrideString(kSettingsSection, kKeyConcN2, options.airShares[0]);
        settings.OverrideString(kSettingsSection, kKeyConcO2, options.airShares[1]);
        settings.OverrideString(kSettingsSection, kKeyConcCO2, options.airShares[2]);
    }
}

// The degassing page as the operator would fill it: the method first, then every typed value in the
// order given. A value the page could not read, or one the method does not use, is explained on stderr.
void FillDegassingPage(const RunOptions& options, int decimals, DegassingPage& page) {
    page.SetMethod(options.degassingMethod.value_or(MethodA), decimals);
    for (std::size_t i = 0; i < options.degassingInputs.size(); ++i) {
        const auto& [field, text] = options.degassingInputs[i];
        const std::string& name = options.degassingOptionNames[i];
        if (!page.TypeValue(field, text, decimals)) {
            std::cerr << "talvex-cli: " << name << " is not used by degassing method "
                      << DegassingPage::MethodCaption(page.Parameters().Method) << "; ignored\n";
            continue;
        }
        // The page takes text without a number at its start as 0; the CLI says so.
        if (!StartsWithNumber(text))
            std::cerr << "talvex-cli: " << name << " \"" << text
                      << "\" is not a number; the degassing page takes it as 0\n";
    }
}

} // namespace

int RunRun(const std::vector<std::string>& args) {
    std::string usageError;
    const std::optional<RunOptions> options = ParseRunOptions(args, usageError);
    if (!options) {
        std::cerr << "talvex-cli: " << usageError << '\n' << kRunUsage;
        return 2;
    }
    QtSettingsStore profile;
    OverlaySettingsStore settings(profile);
    ApplyOverrides(*options, settings);

    const std::filesystem::path dataFolder =
        options->dataDir ? std::filesystem::path(*options->dataDir) : DataFolder(std::getenv("PUBLIC"));
    Session session(settings, dataFolder);
    const std::vector<std::string> dataErrors = session.LoadComponents();
    if (!dataErrors.empty()) {
        for (const std::string& text : dataErrors)
            std::cerr << "talvex-cli: " << ToLf(text) << '\n';
        return 1;
    }
    CSettings stored;
    stored.Load(settings);
    FillDegassingPage(*options, stored.QtyNumAfterDot, session.Degassing());
    // The add operation recalculates only when a file was named; a run without files still shows the
    // (empty) session, so recalculate then too.
    const bool ok = options->files.empty() ? session.Recalculate() : session.AddFiles(options->files);
    for (const SkippedFile& skipped : session.SkippedFiles())
        std::cerr << "talvex-cli: " << skipped.path << ": skipped: " << SkipReason(skipped) << '\n';
    if (!ok) {
        std::cerr << "talvex-cli: " << ToLf(session.RecalcError()) << '\n';
        return 1;
    }
    if (options->tablesDir) {
        std::string error;
        if (!WriteTables(session, *options->tablesDir, error)) {
            std::cerr << "talvex-cli: " << error << '\n';
            return 1;
        }
    }
    if (options->xmlFile || options->odtFile || options->pdfFile) {
        pugi::xml_document doc;
        BuildReportDocument(doc,
                            {session.Chromatograms(), session.Section7(), session.Condensate(), session.Nlh(),
                             settings, options->deviceName.value_or(LoadDeviceName(settings)),
                             static_cast<std::int64_t>(std::time(nullptr))});
        std::string error;
        if (!WriteReportOutputs(doc, *options, error)) {
            std::cerr << "talvex-cli: " << ToLf(error) << '\n';
            return 1;
        }
    }
    if (options->xlsFile) {
        std::string error;
        if (!WriteSpreadsheet(
                {session.Section7(), session.Condensate(), session.Nlh(), session.Degassing().Parameters()},
                *options->xlsFile, error)) {
            std::cerr << "talvex-cli: " << ToLf(error) << '\n';
            return 1;
        }
    }
    if (options->jsonFile) {
        std::string error;
        if (!WriteFileAtomically(*options->jsonFile, ResultsJson(session), &error)) {
            std::cerr << "talvex-cli: " << ToLf(error) << '\n';
            return 1;
        }
    }
    if (options->printLog)
        std::cout << session.Log().LogText();
    std::cout.flush();
    // --strict: the outputs are written all the same; the status tells a script that files were left out.
    return std::cout && !(options->strict && !session.SkippedFiles().empty()) ? 0 : 1;
}

} // namespace talvex::cli
