#include "gui/app/screenshots.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings.h"
#include "core/common/settings_store.h"
#include "core/report/odt_report_paths.h"
#include "gui/browser/open_chrm_dlg.h"
#include "gui/editors/components_dlg.h"
#include "gui/editors/comps_time_dlg.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/mainwindow/talvex_dlg.h"
#include "gui/report/dlg_report.h"
#include "gui/settings/settings_dlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <iostream>

namespace talvex::gui {
namespace {

bool Save(QWidget& window, const std::filesystem::path& file) {
    QApplication::processEvents();
    const bool ok = window.grab().save(QString::fromStdString(file.string()), "PNG");
    if (!ok)
        std::cerr << "talvex: cannot write " << file << '\n';
    return ok;
}

// Selects the first list row whose file name starts with `prefix`.
void SelectFile(CGridCtrl& list, const QString& prefix) {
    for (int row = 0; row < list.RowCount(); ++row)
        if (list.CellText(row, 1).startsWith(prefix)) {
            list.selectRow(row);
            return;
        }
}

// The browser on the example folder with its newest file focused, the settings dialog and both editors,
// none of them closed with OK: nothing is written.
bool SaveDialogs(Session& session, QWidget& window, const std::filesystem::path& outFolder,
                 const std::filesystem::path& examples) {
    const std::filesystem::path folder = std::filesystem::absolute(examples).lexically_normal();
    MemorySettingsStore userKey;
    MemorySettingsStore machineKey;
    userKey.WriteString("", kKeyLastOpenPath2, folder.string());
    machineKey.WriteString("", kKeyOpenPath, folder.parent_path().string());
    COpenChrmDlg browser(userKey, machineKey, &window);
    browser.show();
    browser.List()->selectRow(0);
    bool ok = Save(browser, outFolder / "9-browser.png");

    CSettingsDlg settings(session.Settings(), &window);
    settings.show();
    ok = Save(settings, outFolder / "10-settings.png") && ok;

    CComponents components(session, &window);
    components.Load();
    components.show();
    ok = Save(components, outFolder / "11-components.png") && ok;

    CCompsTime times(session, &window);
    times.Load();
    times.show();
    ok = Save(times, outFolder / "12-retention-times.png") && ok;

    CDlgReport report(session, QStringLiteral("ГХ-2 зав. № 114"), &window);
    report.show();
    ok = Save(report, outFolder / "13-report.png") && ok;
    // The report's save dialog (Qt's own, in the program's language), on the example folder; a fixed
    // moment names the proposed file.
    const std::unique_ptr<QFileDialog> saveDialog =
        ReportSaveDialog(&report, QString::fromStdString(DefaultReportFileName(std::int64_t{1705312800})));
    saveDialog->setOption(QFileDialog::DontUseNativeDialog);
    // Names only (the detail view writes dates in the locale's way), and only once the folder is read:
    // the same picture on every run.
    saveDialog->setViewMode(QFileDialog::List);
    QEventLoop loaded;
    if (auto* model = saveDialog->findChild<QFileSystemModel*>())
        QObject::connect(model, &QFileSystemModel::directoryLoaded, &loaded, &QEventLoop::quit);
    QTimer::singleShot(5000, &loaded, &QEventLoop::quit);
    saveDialog->setDirectory(QString::fromStdString(folder.string()));
    saveDialog->show();
    loaded.exec();
    return Save(*saveDialog, outFolder / "14-report-save.png") && ok;
}

} // namespace

namespace {

// Every page and dialog of the example session, in the application's current font.
bool SaveAll(const std::filesystem::path& outFolder, const std::vector<std::string>& files,
             const std::filesystem::path& examples, const std::filesystem::path& dataFolder) {
    std::error_code ec;
    std::filesystem::create_directories(outFolder, ec);
    MemorySettingsStore profile; // the operator's stored profile stays untouched
    Session session(profile, dataFolder);
    for (const std::string& text : session.LoadComponents())
        std::cerr << "talvex: " << text << '\n';
    talvex::CSettings settings;
    settings.Load(session.Settings());
    TypeExampleDegassing(session.Degassing(), settings.QtyNumAfterDot);

    MainWindowHooks hooks = MainWindowHooks::Desktop(session);
    hooks.showError = [](const QString& caption, const QString& text) {
        std::cerr << "talvex: " << caption.toStdString() << ": " << text.toStdString() << '\n';
    };
    CTalvexDlg window(session, hooks);
    window.show();
    QStringList paths;
    for (const std::string& file : files)
        paths << QString::fromStdString(file);
    window.AddFiles(paths);

    static const char* const kNames[] = {"peaks",   "degassing", "gas",     "condensate",
                                         "marking", "nlh",       "messages"};
    bool ok = true;
    SelectFile(*window.List(), QStringLiteral("gd-1-fid"));
    for (int page = 0; page < CTalvexDlg::kPageCount; ++page) {
        window.Tabs()->setCurrentIndex(page);
        ok = Save(window, outFolder / (std::to_string(page + 1) + "-" + kNames[page] + ".png")) && ok;
    }
    window.Tabs()->setCurrentIndex(CTalvexDlg::kPeaks);
    SelectFile(*window.List(), QStringLiteral("dk-sample-1"));
    ok = Save(window, outFolder / "8-peaks-condensate.png") && ok;
    return SaveDialogs(session, window, outFolder, examples) && ok;
}

} // namespace

int SaveScreenshots(const std::filesystem::path& outFolder, const std::filesystem::path& examples,
                    const std::filesystem::path& dataFolder) {
    const std::vector<std::string> files = ChromatogramFilesIn(examples);
    if (files.empty()) {
        std::cerr << "talvex: no .stg files in " << examples << '\n';
        return 1;
    }
    bool ok = SaveAll(outFolder, files, examples, dataFolder);
    // The same at an application font of 1.5 times the point size, as a desktop font setting gives.
    const QFont designFont = QApplication::font();
    QFont large = designFont;
    large.setPointSizeF(designFont.pointSizeF() * 1.5);
    QApplication::setFont(large);
    ok = SaveAll(outFolder / "font-1.5x", files, examples, dataFolder) && ok;
    QApplication::setFont(designFont);
    return ok ? 0 : 1;
}

} // namespace talvex::gui
