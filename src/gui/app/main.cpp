// talvex: the desktop program. `talvex --screenshots DIR` saves a picture of every page of the example
// session instead of opening the window for the operator.

#include "core/app/data_folder.h"
#include "core/app/session.h"
#include "core/app/session_replay.h"
#include "gui/app/screenshots.h"
#include "gui/app/talvex_application.h"
#include "gui/mainwindow/talvex_dlg.h"
#include "qtplatform/qt_settings_store.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <iostream>
#include <optional>

namespace {

constexpr const char* kUsage = "usage: talvex [--data-dir DIR] [FILE.tlvx]\n"
                               "       talvex --screenshots DIR [--examples DIR] [--data-dir DIR]\n";

struct Options {
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::filesystem::path> screenshots;
    std::optional<std::filesystem::path> examples;
    QString session; // a session file to open at start
};

std::optional<Options> ParseOptions(const QStringList& args) {
    Options options;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!options.session.isEmpty())
                return std::nullopt;
            options.session = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const std::filesystem::path value = args[++i].toStdString();
        if (arg == QLatin1String("--data-dir"))
            options.dataDir = value;
        else if (arg == QLatin1String("--screenshots"))
            options.screenshots = value;
        else if (arg == QLatin1String("--examples"))
            options.examples = value;
        else
            return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    talvex::gui::TalvexApplication app(argc, argv);
    const std::optional<Options> options = ParseOptions(QApplication::arguments());
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    const std::filesystem::path programFolder = QApplication::applicationDirPath().toStdString();
    if (options->screenshots)
        return talvex::gui::SaveScreenshots(
            *options->screenshots,
            options->examples.value_or(std::filesystem::path(TALVEX_SOURCE_DIR) / "examples"),
            options->dataDir.value_or(std::filesystem::path(TALVEX_SOURCE_DIR) / "data"));

    talvex::QtSettingsStore profile;
    talvex::Session session(profile,
                            talvex::ChooseDataFolder(options->dataDir, std::getenv("PUBLIC"), programFolder));
    for (const std::string& text : session.LoadComponents())
        QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), QString::fromStdString(text));
    talvex::gui::CTalvexDlg window(session, talvex::gui::MainWindowHooks::Desktop(session));
    window.UseRecoveryFile(QString::fromStdString(
        talvex::SessionRecoveryPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")).string()));
    window.show();
    if (!options->session.isEmpty())
        window.OpenSession(options->session);
    return QApplication::exec();
}
