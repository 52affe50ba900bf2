#include "core/app/session.h"
#include "core/common/settings.h"
#include "gui/degassing/dlg_degassing.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/mainwindow/talvex_dlg.h"
#include "gui/pages/dlg_msg.h"
#include "gui/pages/dlg_out_table.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace talvex;
using namespace talvex::gui;

namespace {

constexpr std::int64_t kT = 1700000000;

QStringList Column(const CGridCtrl& grid, int column) {
    QStringList cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        cells << grid.CellText(row, column);
    return cells;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        profile_ = MemorySettingsStore();
        files_ = std::make_unique<QTemporaryDir>();
        const std::filesystem::path dir = files_->path().toStdString();
        session_ = std::make_unique<Session>(profile_, guitest::CopyShippedData(dir));
        QVERIFY(session_->LoadComponents().empty());
        gasFid_ = guitest::WriteChromatogram(dir / "f1.stg", "ПИД ГД", "Проба 1", kT);
        gasTcd_ = guitest::WriteChromatogram(dir / "t1.stg", "ДТП-1 ГД", "Проба 1", kT + 9);
        condensate_ = guitest::WriteChromatogram(dir / "c.stg", "ПИД ДК", "Проба 7", kT - 500);
        errors_.clear();
        opened_.clear();
        boxes_.clear();
        MainWindowHooks hooks;
        hooks.askFiles = [this](QWidget*) { return toAdd_; };
        hooks.showError = [this](const QString& caption, const QString& text) {
            errors_ << caption + "|" + text;
        };
        hooks.openFile = [this](const QString& path) {
            opened_ << path;
            return !path.endsWith(QStringLiteral("c.stg")); // no program is registered for this one
        };
        hooks.settingsDialog = [this](QWidget*) {
            if (settingsOk_) // what the dialog stores on OK
                profile_.WriteInt(kSettingsSection, kKeyDecimals, 5);
            return settingsOk_;
        };
        hooks.reportDialog = [this](QWidget*, const QString& device) { reports_ << device; };
        window_ = std::make_unique<CTalvexDlg>(*session_, hooks);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() {
        window_.reset();
        session_.reset();
    }

    void addSelectDeleteAndDeleteAll() {
        CGridCtrl& list = *window_->List();
        CloseNextMessageBox();
        window_->AddFiles({QString::fromStdString(condensate_), QString::fromStdString(gasTcd_),
                           QString::fromStdString(gasFid_), QString::fromStdString(gasFid_)});
        // The duplicate is refused, and the operator is told; gas comes before condensate after the
        // recalculation.
        QCOMPARE(boxes_, QStringList{"Talvex|Файл не добавлен в список:\n\n" +
                                     QString::fromStdString(gasFid_) + " — уже есть в списке"});
        QCOMPARE(Column(list, 1), (QStringList{"f1.stg", "t1.stg", "c.stg"}));
        QCOMPARE(Column(list, 5), (QStringList{"Ан - 1", "Ан - 1", "Ан - 1"}));
        QCOMPARE(list.RowTag(2), 0);
        QCOMPARE(window_->PeakPage()->Grid()->RowCount(), 0);

        list.selectRow(1);
        QCOMPARE(session_->SelectedFileId(), 1);
        const CGridCtrl& peaks = *window_->PeakPage()->Grid();
        QCOMPARE(peaks.RowCount(), 1);
        QCOMPARE(peaks.CellText(0, 1), QStringLiteral("Метан"));
        window_->Recalculate(); // a recalculation keeps the shown chromatogram selected
        QCOMPARE(list.SelectedRows(), std::vector<int>{1});
        QCOMPARE(peaks.RowCount(), 1);

        window_->Button(QStringLiteral("Удалить"))->click();
        QCOMPARE(Column(list, 1), (QStringList{"f1.stg", "c.stg"}));
        QCOMPARE(session_->SelectedFileId(), -1);
        QCOMPARE(peaks.RowCount(), 0);

        window_->Button(QStringLiteral("Удалить все"))->click();
        QCOMPARE(list.RowCount(), 0);
        window_->AddFiles({QString::fromStdString(gasFid_)});
        QCOMPARE(list.RowTag(0), 3); // the counter runs on after deleting everything
        QVERIFY(errors_.isEmpty());
    }

    // "Добавить" with files the list cannot take: one message box names each with its reason, and the
    // others are added as always.
    void skippedFilesAreListedInOneMessageBox() {
        const std::filesystem::path dir = files_->path().toStdString();
        const QString unknown =
            QString::fromStdString(guitest::WriteChromatogram(dir / "x.stg", "ДТП-3 ГД", "Проба 1", kT));
        const QString blank =
            QString::fromStdString(guitest::WriteChromatogram(dir / "b1.stg", "ПИД ГД", "Холостая", kT - 60));
        const QString blank2 =
            QString::fromStdString(guitest::WriteChromatogram(dir / "b2.stg", "ПИД ГД", "Холостая", kT - 30));
        const QString missing = files_->filePath(QStringLiteral("gone.stg"));
        QPushButton* add = window_->Button(QStringLiteral("Добавить"));

        toAdd_ = {QString::fromStdString(gasFid_), blank};
        CloseNextMessageBox();
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(window_->List()->RowCount(), 2);
        QVERIFY(boxes_.isEmpty()); // everything taken: nothing to say

        toAdd_ = {QString::fromStdString(gasFid_), missing, QString::fromStdString(condensate_), unknown,
                  blank2};
        CloseNextMessageBox();
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(
            boxes_.front(),
            "Talvex|Файлы не добавлены в список:\n\n" + QString::fromStdString(gasFid_) +
                " — уже есть в списке\n" + missing + " — не читается: файл не найден\n" + unknown +
                " — тип не используется в расчетах: по паспорту не распознан детектор (метод «ДТП-3 ГД», "
                "проба «Проба 1»)\n" +
                blank2 +
                " — второй контрольный или холостой анализ этого типа, он уже есть в списке: ПИД, Газ, "
                "холостая");
        QCOMPARE(Column(*window_->List(), 1), (QStringList{"f1.stg", "b1.stg", "c.stg"}));
        QVERIFY(errors_.isEmpty());
    }

    void deleteKeyWithoutSelectionRecalculatesOnly() {
        window_->AddFiles({QString::fromStdString(gasFid_), QString::fromStdString(condensate_)});
        CGridCtrl& list = *window_->List();
        list.clearSelection();
        list.setFocus();
        session_->Log().PostText(kMsgError, "stale"); // a recalculation clears it
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(list.RowCount(), 2);
        QVERIFY(!HasError("stale"));
        list.selectRow(0);
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(list.RowCount(), 1);
    }

    void clickOnAnEmptyAreaClearsThePeakPage() {
        window_->AddFiles({QString::fromStdString(gasFid_)});
        CGridCtrl& list = *window_->List();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(0, 1)).center());
        QCOMPARE(window_->PeakPage()->Grid()->RowCount(), 1);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, list.viewport()->height() - 5));
        QCOMPARE(session_->SelectedFileId(), -1);
        QCOMPARE(window_->PeakPage()->Grid()->RowCount(), 0);
    }

    void fileThatCannotBeOpenedIsReported() {
        window_->AddFiles({QString::fromStdString(gasFid_), QString::fromStdString(condensate_)});
        window_->List()->selectAll();
        window_->Button(QStringLiteral("Открыть в ПО Корвант"))->click();
        QCOMPARE(opened_.size(), 2); // the failure does not stop the next file
        QCOMPARE(errors_, QStringList{QStringLiteral("Ошибка|Не удается открыть файл: \n") +
                                      QString::fromStdString(condensate_)});
        QCOMPARE(window_->List()->RowCount(), 2);
    }

    void doubleClickOpensTheFirstSelectedFileOnly() {
        window_->AddFiles({QString::fromStdString(gasFid_), QString::fromStdString(condensate_)});
        CGridCtrl& list = *window_->List();
        const QPoint row = list.visualRect(list.model()->index(1, 1)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(opened_, QStringList{QString::fromStdString(condensate_)});
        QCOMPARE(errors_.size(), 1);
    }

    void pagesStandInTheirOrder() {
        const QTabWidget& tabs = *window_->Tabs();
        const QStringList captions{"Инфо. по хрм.",
                                   "Дегазация",
                                   "Газ сепарации/дегазации",
                                   "Дегазированный конденсат",
                                   "Результаты разметки (ДК)",
                                   "Состав НЖУ",
                                   "Системные сообщения"};
        QCOMPARE(tabs.count(), captions.size());
        for (int i = 0; i < tabs.count(); ++i)
            QCOMPARE(tabs.tabText(i), captions[i]);
        QCOMPARE(tabs.currentIndex(), 0);
        QVERIFY(window_->windowTitle().startsWith(QStringLiteral("Талвекс   ver")));
    }

    void resizingMovesTheTabsByAQuarterOfTheHeightChange() {
        const QSize initial = window_->size();
        QCOMPARE(window_->minimumSize(), initial);
        const QRect tabs = window_->Tabs()->geometry();
        const QRect list = window_->List()->geometry();
        const QRect report = window_->Button(QStringLiteral("Отчет"))->geometry();
        window_->resize(initial + QSize(60, 400));
        QCOMPARE(window_->Tabs()->geometry(),
                 QRect(tabs.x(), tabs.y() + 100, tabs.width() + 60, tabs.height() + 300));
        QCOMPARE(window_->List()->geometry(), QRect(list.topLeft(), list.size() + QSize(60, 100)));
        QCOMPARE(window_->Button(QStringLiteral("Отчет"))->geometry(), report.translated(60, 0));
        window_->resize(initial - QSize(100, 100));
        QCOMPARE(window_->size(), initial);
    }

    // The core refuses to calculate without the retention times; the operator sees why at once.
    void failedRecalculationIsShown() {
        std::filesystem::remove(session_->DataFolder() / "CompsTime.csv");
        window_->AddFiles({QString::fromStdString(gasFid_)});
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(errors_.front(),
                 QStringLiteral("Ошибка|") + QString::fromStdString(session_->RecalcError()));
        QVERIFY(!session_->RecalcError().empty());
        QCOMPARE(window_->List()->RowCount(), 1);
    }

    void degassingPageRequestRecalculatesAfterItsHandler() {
        session_->Log().PostText(kMsgError, "stale");
        auto* page = static_cast<CDlgDegassing*>(window_->PageWidget(CTalvexDlg::kDegassing));
        page->RecalcDegassing();
        QVERIFY(HasError("stale")); // queued: nothing runs inside the page's handler
        QCoreApplication::processEvents();
        QVERIFY(!HasError("stale"));
        QCOMPARE(window_->MessagePage()->Text(), QString::fromStdString(session_->Log().LogText()));
    }

    void settingsAcceptedRecalculateWithTheNewDecimals_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("gasFactor");
        QTest::newRow("OK") << true << "0.00000";
        QTest::newRow("cancelled") << false << "0.000"; // the stored default, 3
    }
    void settingsAcceptedRecalculateWithTheNewDecimals() {
        QFETCH(bool, ok);
        QFETCH(QString, gasFactor);
        settingsOk_ = ok;
        session_->Log().PostText(kMsgError, "stale");
        window_->Button(QStringLiteral("Настройка расчета"))->click();
        QCoreApplication::processEvents();
        QCOMPARE(HasError("stale"), !ok);
        auto* page = static_cast<CDlgDegassing*>(window_->PageWidget(CTalvexDlg::kDegassing));
        QCOMPARE(page->fieldEdit(DegassingField::GasFactor)->text(), gasFactor);
    }

    void deviceNameIsStoredOnClose() {
        window_->findChild<QLineEdit*>()->setText(QStringLiteral("Кристалл-5000"));
        QCOMPARE(window_->DeviceName(), QStringLiteral("Кристалл-5000"));
        window_->Button(QStringLiteral("Отчет"))->click();
        QCOMPARE(reports_, QStringList{QStringLiteral("Кристалл-5000")});
        window_->close();
        QCOMPARE(QString::fromStdString(LoadDeviceName(profile_)), QStringLiteral("Кристалл-5000"));
    }

private:
    // Waits, from the event loop a modal box runs, for the next message box; keeps its caption and text
    // and closes it with a click on OK. Gives up after a while, so a box that never comes fails the
    // test's comparison instead of hanging it.
    void CloseNextMessageBox(int triesLeft = 500) {
        QTimer::singleShot(2, this, [this, triesLeft] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                if (triesLeft > 0)
                    CloseNextMessageBox(triesLeft - 1);
                return;
            }
            boxes_ << box->windowTitle() + "|" + box->text();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
    }

    bool HasError(const std::string& text) const {
        const std::vector<std::string> errors = session_->Log().Texts(kMsgError);
        return std::find(errors.begin(), errors.end(), text) != errors.end();
    }

    guitest::IsolatedProfile isolated_;
    MemorySettingsStore profile_;
    std::unique_ptr<QTemporaryDir> files_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<CTalvexDlg> window_;
    std::string gasFid_, gasTcd_, condensate_;
    QStringList errors_;
    QStringList opened_;
    QStringList reports_;
    QStringList boxes_; // caption|text of every message box closed
    QStringList toAdd_; // what the browser returns to "Добавить"
    bool settingsOk_ = true;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
