#include "cli/run_command.h"

#include "cli/archive_run.h"
#include "cli/grid_tsv.h"
#include "cli/report_outputs.h"
#include "cli/run_options.h"
#include "cli/table_export.h"
#include "core/app/data_folder.h"
#include "core/app/provenance.h"
#include "core/app/session.h"
#include "core/app/session_file.h"
#include "core/app/session_replay.h"
#include "core/common/data_file_io.h"
#include "core/common/number_text.h"
#include "core/common/report_settings.h"
#include "core/common/settings.h"
#include "core/curve/curve_svg.h"
#include "core/report/boiling_curve_report.h"
#include "core/report/report_document.h"
#include "core/results/results_json.h"
#include "qtplatform/qt_settings_store.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
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
    "                      [--curve FILE.svg]\n"
    "                      [--tables DIR] [--log] [--strict] [--archive URL [--reason TEXT]]\n"
    "                      [--session FILE.tlvx] [--save-session FILE.tlvx] FILE.stg...\n";

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

// The degassing page as the operator would fill it (over a saved session's page): the method first, then
// every typed value in the order given. A value the page could not read, or one the method does not use, is
// explained on stderr.
void FillDegassingPage(const RunOptions& options, int decimals, DegassingPage& page) {
    page.SetMethod(options.degassingMethod.value_or(page.Parameters().Method), decimals);
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

// The time a run calculates at: SOURCE_DATE_EPOCH when it is set to a number of seconds (so that a run
// can be repeated to the byte, as reproducible builds do), else the clock.
std::int64_t RunTime() {
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) {
        std::int64_t seconds = 0;
        const char* end = fixed + std::strlen(fixed);
        const auto result = std::from_chars(fixed, end, seconds);
        if (result.ec == std::errc() && result.ptr == end)
            return seconds;
    }
    return static_cast<std::int64_t>(std::time(nullptr));
}

void LayOver(const SessionRecord& record, OverlaySettingsStore& settings) {
    for (const SettingWrite& w : SessionSettingWrites(record)) {
        if (const auto* number = std::get_if<std::int32_t>(&w.value))
            settings.OverrideInt(w.section, w.key, *number);
        else
            settings.OverrideString(w.section, w.key, std::get<std::string>(w.value));
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
    const std::int64_t now = RunTime();
    std::optional<SessionRecord> saved;
    if (options->sessionFile) {
        std::string error;
        if (!(saved = ReadSessionFile(*options->sessionFile, error))) {
            std::cerr << "talvex-cli: " << error << '\n';
            return 1;
        }
    }
    QtSettingsStore profile;
    OverlaySettingsStore settings(profile);
    // A saved session sets the run's settings; the command line's own options override it.
    if (saved)
        LayOver(*saved, settings);
    ApplyOverrides(*options, settings);

    // The same choice as the desktop program's: an installed program falls back to its installed data.
    const std::filesystem::path defaultFolder =
        ChooseDataFolder(std::nullopt, std::getenv("PUBLIC"), RunningProgramFolder());
    const std::filesystem::path dataFolder =
        options->dataDir ? std::filesystem::path(*options->dataDir)
        : saved          ? SessionDataFolder(*saved, *options->sessionFile, defaultFolder)
                         : defaultFolder;
    Session session(settings, dataFolder);
    const std::vector<std::string> dataErrors = session.LoadComponents();
    if (!dataErrors.empty()) {
        for (const std::string& text : dataErrors)
            std::cerr << "talvex-cli: " << ToLf(text) << '\n';
        return 1;
    }
    CSettings stored;
    stored.Load(settings);
    std::vector<std::string> files;
    std::vector<SessionProblem> problems;
    if (saved) {
        RestoreDegassing(*saved, session.Degassing(), stored.QtyNumAfterDot);
        ResolvedFiles resolved = ResolveSessionFiles(*saved, *options->sessionFile);
        files = std::move(resolved.paths);
        problems = std::move(resolved.problems);
        for (SessionProblem& p : CheckDataFiles(*saved, dataFolder))
            problems.push_back(std::move(p));
    }
    FillDegassingPage(*options, stored.QtyNumAfterDot, session.Degassing());
    files.insert(files.end(), options->files.begin(), options->files.end());
    for (const SessionProblem& problem : problems)
        std::cerr << "talvex-cli: " << problem.text << '\n';
    // The add operation recalculates only when a file was named; a run without files still shows the
    // (empty) session, so recalculate then too.
    const bool ok = files.empty() ? session.Recalculate() : session.AddFiles(files);
    for (const SkippedFile& skipped : session.SkippedFiles())
        std::cerr << "talvex-cli: " << skipped.path << ": skipped: " << SkipReason(skipped) << '\n';
    if (!ok) {
        std::cerr << "talvex-cli: " << ToLf(session.RecalcError()) << '\n';
        return 1;
    }
    const std::string deviceName = options->deviceName.value_or(LoadDeviceName(settings));
    // Every file is read again for its digest, so only for the outputs that show it.
    const Provenance provenance =
        options->odtFile || options->pdfFile || options->jsonFile || options->archiveUrl
            ? TakeProvenance(session, now)
            : Provenance{};
    if (options->tablesDir) {
        std::string error;
        if (!WriteTables(session, *options->tablesDir, error)) {
            std::cerr << "talvex-cli: " << error << '\n';
            return 1;
        }
    }
    if (options->xmlFile || options->odtFile || options->pdfFile) {
        pugi::xml_document doc;
        BuildReportDocument(doc, {session.Chromatograms(), session.Section7(), session.Condensate(),
                                  session.Nlh(), settings, deviceName, now});
        std::string error;
        if (!WriteReportOutputs(doc, provenance, deviceName,
                                BoilingCurvePictureSvg(session.Condensate(), session.Nlh()), *options,
                                error)) {
            std::cerr << "talvex-cli: " << ToLf(error) << '\n';
            return 1;
        }
    }
    if (options->curveFile) {
        std::string error;
        const std::string svg =
            BoilingCurvesSvg(CondensateCurves(session.Condensate()), NlhCurves(session.Nlh()));
        if (!WriteFileAtomically(*options->curveFile, svg, &error)) {
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
        if (!WriteFileAtomically(*options->jsonFile, ResultsJson(session, provenance), &error)) {
            std::cerr << "talvex-cli: " << ToLf(error) << '\n';
            return 1;
        }
    }
    if (options->saveSessionFile) {
        std::string error;
        const std::optional<SessionRecord> record =
            CaptureSession(session, deviceName, *options->saveSessionFile, now, error);
        if (!record || !WriteSessionFile(*options->saveSessionFile, *record, error)) {
            std::cerr << "talvex-cli: the session cannot be saved: " << ToLf(error) << '\n';
            return 1;
        }
    }
    if (options->archiveUrl) {
        const int status = ArchiveCalculation(session, provenance, *options, deviceName,
                                              ResultsJson(session, provenance), now);
        if (status != 0)
            return status;
    }
    if (options->printLog)
        std::cout << session.Log().LogText();
    std::cout.flush();
    if (!std::cout)
        return 1;
    // --strict: the outputs are written all the same; the status tells a script that a file was left out
    // or that a saved session's input has changed.
    return options->strict && (!problems.empty() || !session.SkippedFiles().empty()) ? 1 : 0;
}

} // namespace talvex::cli
