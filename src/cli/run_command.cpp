#include "run_command.h"

#include "app/data_folder.h"
#include "app/session.h"
#include "common/settings.h"
#include "grid_tsv.h"
#include "qt_settings_store.h"
#include "run_options.h"
#include "table_export.h"

#include <cstdlib>
#include <iostream>

namespace talvex::cli {
namespace {

constexpr const char* kRunUsage =
    "usage: talvex-cli run [--data-dir DIR] [--decimals N] [--mode 0|1|2]\n"
    "                      [--air N2,O2,CO2 | --no-air] [--tables DIR] [--log]\n"
    "                      FILE.stg...\n";

void ApplyOverrides(const RunOptions& options, OverlaySettingsStore& settings) {
    if (options.decimals)
        settings.OverrideInt(kSettingsSection, kKeyDecimals, *options.decimals);
    if (options.mode)
        settings.OverrideInt(kSettingsSection, kKeyModeCalc, *options.mode);
    if (options.airCorrection)
        settings.OverrideInt(kSettingsSection, kKeyCorrectO2, *options.airCorrection ? 1 : 0);
    if (options.airShares.size() == 3) {
        settings.OverrideString(kSettingsSection, kKeyConcN2, options.airShares[0]);
        settings.OverrideString(kSettingsSection, kKeyConcO2, options.airShares[1]);
        settings.OverrideString(kSettingsSection, kKeyConcCO2, options.airShares[2]);
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
    // The add operation recalculates only when a file was named; a run without files still shows the
    // (empty) session, so recalculate then too.
    const bool ok = options->files.empty() ? session.Recalculate() : session.AddFiles(options->files);
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
    if (options->printLog)
        std::cout << session.Log().LogText();
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace talvex::cli
