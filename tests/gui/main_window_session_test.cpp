// The main window's sessions: "Сохранить сеанс…" and "Открыть сеанс…" clicked for real, the title, the
// recovery file of a run that ended without saving.
#include "core/app/session.h"
#include "core/common/settings.h"
#include "gui/degassing/dlg_degassing.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/mainwindow/talvex_dlg.h"
#include "gui_test_support.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace talvex;
using namespace talvex::gui;

namespace {

constexpr std::int64_t kT = 1700000000;

} // namespace

class MainWindowSessionTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        profile_ = MemorySettingsStore();
        files_ = std::make_unique<QTemporaryDir>();
        dir_ = files_->path().toStdString();
        session_ = std::make_unique<Session>(profile_, guitest::CopyShippedData(dir_));
        QVERIFY(session_->LoadComponents().empty());
        runs_ = {guitest::WriteChromatogram(dir_ / "f1.stg", "ПИД ГД", "Проба 1", kT),
                 guitest::WriteChromatogram(dir_ / "t1.stg", "ДТП-1 ГД", "Проба 1", kT + 9),
                 guitest::WriteChromatogram(dir_ / "c.stg", "ПИД ДК", "Проба 7", kT - 500)};
        errors_.clear();
        infos_.clear();
        answerYes_ = true;
        sessionFile_ = Path("run.tlvx");
        OpenWindow();
    }

    void cleanup() {
        window_.reset();
        session_.reset();
    }

    void savingAndOpeningRestoreTheListTheDegassingPageAndTheInstrument() {
        AddRuns();
        auto* degassing = window_->findChild<CDlgDegassing*>();
        QVERIFY(degassing);
        degassing->setInputDelay(30);
        QLineEdit* mass = degassing->fieldEdit(DegassingField::CondMass1);
        mass->selectAll();
        QTest::keyClicks(mass, QStringLiteral("84,6"));
        // Saved while the value is still pending: the session holds the text the field shows.
        auto* device = window_->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(window_->Button(QStringLiteral("Сохранить сеанс…")), Qt::LeftButton);
        QVERIFY(errors_.isEmpty());
        QVERIFY(QFile::exists(sessionFile_));
        QVERIFY(window_->windowTitle().startsWith(QStringLiteral("run.tlvx[*]")));
        QVERIFY(!window_->isWindowModified());

        window_->DeleteAll();
        QTest::keyClicks(device, QStringLiteral(" new"));
        QVERIFY(window_->isWindowModified());
        profile_.WriteInt(kSettingsSection, kKeyDecimals, 7);

        QTest::mouseClick(window_->Button(QStringLiteral("Открыть сеанс…")), Qt::LeftButton);
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
        QCOMPARE(window_->List()->RowCount(), 3);
        QCOMPARE(mass->text(), QStringLiteral("84.6"));
        QCOMPARE(session_->Degassing().Parameters().CondMass1, 84.6);
        QCOMPARE(window_->DeviceName(), QStringLiteral("ГХ-2"));
        QCOMPARE(profile_.ReadInt(kSettingsSection, kKeyDecimals, 0), 3); // the session's, written back
        QCOMPARE(infos_.size(), 1);
        QVERIFY(infos_.front().contains(QStringLiteral("записаны в профиль")));
        QVERIFY(!window_->isWindowModified());
    }

    void aMissingFileIsNamedAndADamagedSessionChangesNothing() {
        AddRuns();
        QVERIFY(window_->SaveSession(sessionFile_));
        QFile::remove(QString::fromStdString(runs_[1]));
        QVERIFY(window_->OpenSession(sessionFile_));
        QCOMPARE(window_->List()->RowCount(), 2);
        QVERIFY(infos_.back().contains(QStringLiteral("t1.stg")));

        QFile bad(Path("bad.tlvx"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{\"format\": \"talvex-session\"");
        bad.close();
        sessionFile_ = Path("bad.tlvx");
        QTest::mouseClick(window_->Button(QStringLiteral("Открыть сеанс…")), Qt::LeftButton);
        QCOMPARE(errors_.size(), 1);
        QVERIFY(errors_.front().contains(QStringLiteral("bad.tlvx")));
        QCOMPARE(window_->List()->RowCount(), 2);
        QVERIFY(window_->windowTitle().startsWith(QStringLiteral("run.tlvx")));
    }

    void aRunEndedWithoutSavingIsOfferedOnceAtTheNextOpen() {
        const QString recovery = Path("data-home/talvex/recovery.tlvx");
        window_->UseRecoveryFile(recovery);
        AddRuns();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recovery), 5000);
        window_.reset(); // the program ends without its window being closed

        OpenWindow();
        window_->UseRecoveryFile(recovery);
        QVERIFY(!window_->RecoveredSessionPath().isEmpty());
        QVERIFY(!QFile::exists(recovery)); // moved aside: this run writes its own
        QTest::mouseClick(window_->Button(QStringLiteral("Открыть сеанс…")), Qt::LeftButton);
        QCOMPARE(questions_, 1);
        QCOMPARE(window_->List()->RowCount(), 3);
        QVERIFY(window_->isWindowModified()); // a recovered session is not saved yet
        QVERIFY(window_->SessionPath().isEmpty());

        // Offered once: the next click goes to the file dialog.
        sessionFile_.clear();
        QTest::mouseClick(window_->Button(QStringLiteral("Открыть сеанс…")), Qt::LeftButton);
        QCOMPARE(questions_, 1);

        // A session saved before closing leaves no recovery behind.
        QVERIFY(window_->SaveSession(Path("saved.tlvx")));
        window_->close();
        QVERIFY(!QFile::exists(recovery));
    }

private:
    QString Path(const QString& name) const {
        return QString::fromStdString((dir_ / name.toStdString()).string());
    }

    void OpenWindow() {
        questions_ = 0;
        MainWindowHooks hooks;
        hooks.showError = [this](const QString&, const QString& text) { errors_ << text; };
        hooks.showInfo = [this](const QString&, const QString& text) { infos_ << text; };
        hooks.askOpenSession = [this](QWidget*) { return sessionFile_; };
        hooks.askSaveSession = [this](QWidget*, const QString&) { return sessionFile_; };
        hooks.askYesNo = [this](QWidget*, const QString&) {
            ++questions_;
            return answerYes_;
        };
        window_ = std::make_unique<CTalvexDlg>(*session_, hooks);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void AddRuns() {
        auto* device = window_->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        device->setText(QStringLiteral("ГХ-2")); // key clicks carry ASCII only
        QStringList paths;
        for (const std::string& run : runs_)
            paths << QString::fromStdString(run);
        window_->AddFiles(paths);
        QCOMPARE(window_->List()->RowCount(), 3);
    }

    guitest::IsolatedProfile isolated_;
    MemorySettingsStore profile_;
    std::unique_ptr<QTemporaryDir> files_;
    std::filesystem::path dir_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<CTalvexDlg> window_;
    std::vector<std::string> runs_;
    QStringList errors_;
    QStringList infos_;
    QString sessionFile_;
    bool answerYes_ = true;
    int questions_ = 0;
};

QTEST_MAIN(MainWindowSessionTest)
#include "main_window_session_test.moc"
