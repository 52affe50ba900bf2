#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "gui/browser/dir_tree_ctrl.h"
#include "gui/browser/form_dialog.h"
#include "gui/browser/open_chrm_dlg.h"
#include "gui/grid/grid_ctrl.h"
#include "gui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>

using talvex::MemorySettingsStore;
using talvex::gui::COpenChrmDlg;
using talvex::gui::ResizeAction;

namespace {

constexpr std::int64_t kT = 1700000000; // 14.11.23 22:13:20 UTC

struct TestRun {
    const char* title;
    const char* method;
    const char* site;
    std::int64_t time;
    int calibration;
};

void WriteRun(const QString& folder, const TestRun& run) {
    talvex::synth::StgContent c;
    c.passport.sampleName = std::string("Проба ") + run.title;
    c.passport.method = run.method;
    c.passport.samplingSite = run.site;
    c.passport.samplingPoint = "Сепаратор";
    c.passport.analysisTime = run.time;
    c.passport.samplingTime = run.time;
    c.passport.calibrationFlag = run.calibration;
    c.samples = {0, 1, 0};
    std::string error;
    const std::string path = QDir(folder).filePath(QString::fromUtf8(run.title) + ".stg").toStdString();
    if (!talvex::synth::WriteStg(path, c, &error))
        qFatal("cannot write %s: %s", path.c_str(), error.c_str());
}

QStringList Column(const talvex::gui::CGridCtrl* list, int column) {
    QStringList cells;
    for (int row = 0; row < list->RowCount(); ++row)
        cells << list->CellText(row, column);
    return cells;
}

int RowOf(const talvex::gui::CGridCtrl* list, const QString& title) {
    return static_cast<int>(Column(list, 2).indexOf(title));
}

// Focuses and selects one row as a click does.
void ClickRow(talvex::gui::CGridCtrl* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 1)).center());
}

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        const QDir root(root_->path());
        root.mkpath(QStringLiteral("runs/older"));
        runs_ = root.filePath(QStringLiteral("runs"));
        // One analysis on three detectors within 4 seconds, a run 5 seconds after the first, a
        // calibration an hour before and a file whose passport cannot be read.
        const TestRun runs[] = {
            {"fid", "ПИД ГД", "Куст 3", kT, 0},          {"tcd1", "ДТП-1 ГД", "Куст 3", kT + 2, 0},
            {"tcd2", "ДТП-2 ГД", "Куст 3", kT + 4, 0},   {"next", "ПИД ГД", "Куст 5", kT + 5, 0},
            {"calib", "ПИД ГД", "Куст 3", kT - 3600, 1},
        };
        for (const TestRun& r : runs)
            WriteRun(runs_, r);
        QFile broken(QDir(runs_).filePath(QStringLiteral("broken.stg")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("no compound file");
        broken.close();
        // Without a passport the file's write time dates it.
        const QDateTime written = QDateTime::fromSecsSinceEpoch(kT - 100);
        QVERIFY(broken.open(QIODevice::ReadWrite));
        QVERIFY(broken.setFileTime(written, QFileDevice::FileModificationTime));
        broken.close();
        WriteRun(QDir(runs_).filePath(QStringLiteral("older")), {"old", "ПИД ДК", "Куст 9", kT - 86400, 0});

        user_ = MemorySettingsStore();
        machine_ = MemorySettingsStore();
        machine_.WriteString("", "OpenPath", root_->path().toStdString());
        user_.WriteString("", "LastOpenPath2", runs_.toStdString());
    }

    void opensAtTheStoredFolderNewestFirst() {
        COpenChrmDlg dialog(user_, machine_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Открытие хроматограммы"));
        QCOMPARE(dialog.CurrentFolder(), runs_);
        QCOMPARE(dialog.FolderLabel()->text(), runs_);
        QCOMPARE(dialog.Tree()->CurrentPath(), runs_); // the tree opened along the stored path
        QCOMPARE(Column(dialog.List(), 2), (QStringList{"next", "tcd2", "tcd1", "fid", "broken", "calib"}));
        QCOMPARE(dialog.List()->CellText(0, 0), QStringLiteral("14.11.23"));
        QCOMPARE(dialog.List()->CellText(0, 1), QStringLiteral("Проба next"));
        QCOMPARE(dialog.List()->CellText(4, 1), QStringLiteral("????"));
        QCOMPARE(dialog.List()->CellText(4, 0), QStringLiteral("14.11.23"));
        QCOMPARE(dialog.MethodCombo()->currentText(), QStringLiteral("* (любой)"));
        QCOMPARE(dialog.PointCombo()->currentText(), QStringLiteral("* (любая)"));
        QCOMPARE(dialog.MethodCombo()->count(), 4); // three methods and the match-anything entry
        QVERIFY(!dialog.JointSelectionCheck()->isChecked());
    }

    void typeFilterListsCalibrationsOrAnalyses_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("Градуировочные") << 1 << QStringList{"calib"};
        QTest::newRow("Анализы") << 2 << QStringList{"next", "tcd2", "tcd1", "fid", "broken"};
    }
    void typeFilterListsCalibrationsOrAnalyses() {
        QFETCH(int, type);
        QFETCH(QStringList, titles);
        COpenChrmDlg dialog(user_, machine_);
        QCOMPARE(dialog.TypeCombo()->itemText(type),
                 type == 1 ? QStringLiteral("Градуировочные") : QStringLiteral("Анализы"));
        dialog.TypeCombo()->setCurrentIndex(type);
        QCOMPARE(Column(dialog.List(), 2), titles);
    }

    void filtersHideRowsAndTheDescriptionFollowsTheFocusedFile() {
        COpenChrmDlg dialog(user_, machine_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.MethodCombo()->setCurrentText(QStringLiteral("ПИД ГД"));
        QCOMPARE(Column(dialog.List(), 2), (QStringList{"next", "fid", "calib"}));
        dialog.SiteCombo()->setCurrentText(QStringLiteral("Куст 3"));
        QCOMPARE(Column(dialog.List(), 2), (QStringList{"fid", "calib"}));
        ClickRow(dialog.List(), 1);
        QVERIFY(dialog.Description()->toPlainText().startsWith(QStringLiteral("ПРОБА: \tПроба calib\n")));

        // A folder without that method: the filter falls back to the match-anything entry.
        dialog.Tree()->SelectPath(QDir(runs_).filePath(QStringLiteral("older")));
        QCOMPARE(dialog.MethodCombo()->currentText(), QStringLiteral("* (любой)"));
        QCOMPARE(Column(dialog.List(), 2), QStringList{"old"});
        QVERIFY(dialog.Description()->toPlainText().isEmpty());
    }

    void unreadablePassportShowsTheReadError() {
        COpenChrmDlg dialog(user_, machine_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ClickRow(dialog.List(), RowOf(dialog.List(), "broken"));
        QCOMPARE(dialog.Description()->toPlainText(), QStringLiteral("Ошибка чтения !!!"));
    }

    void jointSelectionTakesRunsLessThanFiveSecondsApart_data() {
        QTest::addColumn<bool>("joint");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QStringList>("chosen");
        QTest::newRow("off") << false << "fid" << QStringList{"fid"};
        QTest::newRow("on, first run") << true << "fid" << QStringList{"tcd2", "tcd1", "fid"};
        QTest::newRow("on, last run") << true << "tcd2" << QStringList{"next", "tcd2", "tcd1", "fid"};
    }
    void jointSelectionTakesRunsLessThanFiveSecondsApart() {
        QFETCH(bool, joint);
        QFETCH(QString, clicked);
        QFETCH(QStringList, chosen);
        COpenChrmDlg dialog(user_, machine_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.JointSelectionCheck()->setChecked(joint);
        ClickRow(dialog.List(), RowOf(dialog.List(), clicked));
        dialog.Open();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QStringList expected;
        for (const QString& title : chosen)
            expected << QDir(runs_).filePath(title + ".stg");
        QCOMPARE(dialog.ChosenPaths(), expected);
        QCOMPARE(user_.ReadInt("", "MultiSelectMode", -1), joint ? 1 : 0);
    }

    void chosenRunsAssembleASession() {
        const QString data = QDir(root_->path()).filePath(QStringLiteral("data"));
        talvex::guitest::CopyShippedData(root_->path().toStdString());
        talvex::Session session(user_, data.toStdString());
        QVERIFY(session.LoadComponents().empty());
        COpenChrmDlg dialog(user_, machine_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.JointSelectionCheck()->setChecked(true);
        ClickRow(dialog.List(), RowOf(dialog.List(), "fid"));
        dialog.Open();
        std::vector<std::string> paths;
        for (const QString& path : dialog.ChosenPaths())
            paths.push_back(path.toStdString());
        session.AddFiles(paths);
        QCOMPARE(session.Chromatograms().size(), std::size_t(3)); // one analysis on three detectors
    }

    // Files from a Windows share often carry their extension in capitals: listed, described and chosen
    // like the others, under the name they have.
    void extensionsInAnyLetterCaseAreListed() {
        const QString upper = QDir(runs_).filePath(QStringLiteral("older"));
        for (const char* name : {"RUN1.STG", "Run2.Stg", "notes.STGX"}) {
            QVERIFY(QFile::copy(QDir(runs_).filePath(QStringLiteral("fid.stg")),
                                QDir(upper).filePath(QString::fromLatin1(name))));
        }
        COpenChrmDlg dialog(user_, machine_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.Tree()->SelectPath(upper);
        QCOMPARE(Column(dialog.List(), 2), (QStringList{"RUN1", "Run2", "old"}));
        ClickRow(dialog.List(), RowOf(dialog.List(), "RUN1"));
        QVERIFY(dialog.Description()->toPlainText().startsWith(QStringLiteral("ПРОБА: \tПроба fid\n")));
        dialog.Open();
        QCOMPARE(dialog.ChosenPaths(), QStringList{QDir(upper).filePath(QStringLiteral("RUN1.STG"))});
    }

    void openStoresTheFoldersAndCancelStoresNothing() {
        {
            COpenChrmDlg dialog(user_, machine_);
            dialog.Tree()->SelectPath(QDir(runs_).filePath(QStringLiteral("older")));
            dialog.reject();
        }
        QCOMPARE(user_.ReadString("", "LastOpenPath2", ""), runs_.toStdString());
        QCOMPARE(user_.ReadInt("", "OpenDirType", -1), -1);

        const QString older = QDir(runs_).filePath(QStringLiteral("older"));
        {
            COpenChrmDlg dialog(user_, machine_);
            dialog.Tree()->SelectPath(older);
            dialog.Open(); // nothing focused, nothing selected: no paths, but the folder is kept
            QVERIFY(dialog.ChosenPaths().isEmpty());
        }
        QCOMPARE(user_.ReadString("", "LastOpenPath2", ""), older.toStdString());
        QCOMPARE(user_.ReadString("", "LastOpenPath1", "?"), std::string());
        QCOMPARE(user_.ReadInt("", "OpenDirType", -1), 0);

        // The whole file system: its own last folder, reached from the file system's root.
        user_.WriteInt("", "OpenDirType", 1);
        user_.WriteString("", "LastOpenPath1", runs_.toStdString());
        COpenChrmDlg dialog(user_, machine_);
        QVERIFY(dialog.WholeFileSystemCheck()->isChecked());
        QCOMPARE(dialog.Tree()->topLevelItem(0)->text(0), QDir::rootPath());
        QCOMPARE(dialog.CurrentFolder(), runs_);
        QCOMPARE(dialog.List()->RowCount(), 6);
        dialog.Tree()->SelectPath(older);
        dialog.WholeFileSystemCheck()->setChecked(
            false); // back below the data folder, at its own last folder
        QCOMPARE(dialog.CurrentFolder(), older);
        QCOMPARE(dialog.Tree()->topLevelItemCount(), 1);
        QCOMPARE(dialog.Tree()->topLevelItem(0)->text(0), root_->path());
        dialog.Open();
        QCOMPARE(user_.ReadString("", "LastOpenPath1", ""), older.toStdString());
        QCOMPARE(user_.ReadInt("", "OpenDirType", -1), 0);
    }

    void treeListsFoldersOnlySortedWithoutRegardToCase() {
        const QDir root(root_->path());
        for (const char* name : {"beta", "Alpha", "gamma"})
            root.mkpath(QString::fromUtf8(name));
        talvex::gui::CDirTreeCtrl tree;
        tree.ShowFolder(root_->path());
        QTreeWidgetItem* top = tree.topLevelItem(0);
        QVERIFY(top->isExpanded());
        QStringList names;
        for (int i = 0; i < top->childCount(); ++i)
            names << top->child(i)->text(0);
        QCOMPARE(names, (QStringList{"Alpha", "beta", "gamma", "runs"}));
        QTreeWidgetItem* runs = top->child(3);
        QCOMPARE(runs->childCount(), 1); // the placeholder: expandable before it is read
        tree.expandItem(runs);
        QCOMPARE(runs->childCount(), 1);
        QCOMPARE(runs->child(0)->text(0), QStringLiteral("older")); // the .stg files are no folders
        QCOMPARE(talvex::gui::CDirTreeCtrl::ItemPath(runs->child(0)), QDir(runs_).filePath("older"));
        QVERIFY(!tree.SelectPath(root.filePath(QStringLiteral("missing"))));
        QVERIFY(!tree.SelectPath(QDir::rootPath()));
    }

    void resizeRulesMoveAndGrowControls_data() {
        QTest::addColumn<int>("horizontal");
        QTest::addColumn<int>("vertical");
        QTest::addColumn<QRect>("expected");
        // A control at (100, 50) 200×40 in a 400×200 window that becomes 100 wider and 40 higher.
        QTest::newRow("fixed") << 0 << 0 << QRect(100, 50, 200, 40);
        QTest::newRow("move") << 1 << 1 << QRect(200, 90, 200, 40);
        QTest::newRow("grow") << 2 << 2 << QRect(100, 50, 300, 80);
        QTest::newRow("move by share") << 3 << 3 << QRect(125, 60, 200, 40);
        QTest::newRow("move and grow by share") << 4 << 4 << QRect(125, 60, 250, 48);
    }
    void resizeRulesMoveAndGrowControls() {
        QFETCH(int, horizontal);
        QFETCH(int, vertical);
        QFETCH(QRect, expected);
        QCOMPARE(talvex::gui::ResizedRect(QRect(100, 50, 200, 40), QSize(400, 200), QSize(100, 40),
                                          ResizeAction(horizontal), ResizeAction(vertical)),
                 expected);
    }

    void browserFollowsItsSizeAndKeepsItsMinimum() {
        COpenChrmDlg dialog(user_, machine_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QSize first = dialog.size();
        QCOMPARE(dialog.minimumSize(), first);
        const QRect list = dialog.List()->geometry();
        const QRect tree = dialog.Tree()->geometry();
        auto* open = dialog.findChild<QPushButton*>();
        QVERIFY(open);
        const QRect button = open->geometry();
        const QRect joint = dialog.JointSelectionCheck()->geometry();
        dialog.resize(first + QSize(200, 100));
        QCOMPARE(dialog.List()->geometry(), list.adjusted(0, 0, 200, 100));
        QCOMPARE(dialog.Tree()->geometry(), tree.adjusted(0, 0, 0, 100));
        QCOMPARE(open->geometry(), button.translated(200, 0));
        QCOMPARE(dialog.JointSelectionCheck()->geometry(), joint.translated(200, 100));
        dialog.resize(first - QSize(100, 100));
        QCOMPARE(dialog.size(), first);
        QCOMPARE(dialog.List()->geometry(), list);
    }

private:
    talvex::guitest::IsolatedProfile isolated_;
    std::unique_ptr<QTemporaryDir> root_;
    QString runs_;
    MemorySettingsStore user_;
    MemorySettingsStore machine_;
};

QTEST_MAIN(BrowserTest)
#include "browser_test.moc"
