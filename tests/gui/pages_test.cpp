#include "core/app/session.h"
#include "core/messages/message_log.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/pages/dlg_msg.h"
#include "gui/pages/out_table_s7s8.h"
#include "gui/pages/table_kind.h"
#include "gui_test_support.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

using namespace talvex;
using namespace talvex::gui;

class PagesTest : public QObject {
    Q_OBJECT
private slots:
    void tableKindFollowsTheRadios_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("composition");
        QTest::addColumn<int>("kind");
        QTest::newRow("analysis, first") << 1 << 0 << 0 << 1;
        QTest::newRow("analysis, second") << 2 << 0 << 1 << 2;
        QTest::newRow("sample control, first") << 3 << 1 << 0 << 3;
        QTest::newRow("sample control, second") << 1 << 1 << 1 << 4;
        QTest::newRow("standard control, first") << 2 << 2 << 0 << 5;
        QTest::newRow("standard control, second") << 1 << 2 << 1 << 6;
        QTest::newRow("unknown mode") << 4 << 0 << 0 << 0;
        QTest::newRow("unknown result") << 1 << 3 << 0 << 0;
    }
    void tableKindFollowsTheRadios() {
        QFETCH(int, mode);
        QFETCH(int, result);
        QFETCH(int, composition);
        QFETCH(int, kind);
        const std::optional<TableKind> found = TableKindOf(mode, result, composition);
        QCOMPARE(found ? TableKindNumber(*found) : 0, kind);
    }

    // The control with a standard has one table for both compositions: its choice disables them.
    void standardControlDisablesTheCompositionRadios_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("gas") << int(OutTableMode::Gas);
        QTest::newRow("condensate") << int(OutTableMode::Condensate);
    }
    void standardControlDisablesTheCompositionRadios() {
        QFETCH(int, mode);
        COutTableS7S8 page(OutTableMode(mode), *session_);
        page.CompositionRadio(1)->click();
        QCOMPARE(page.Kind(), TableKind::AnalysisSecond);
        page.ResultRadio(kResultControlStandard)->click();
        QCOMPARE(page.ResultKind(), kResultControlStandard);
        QCOMPARE(page.Kind(), TableKind::StandardControlSecond);
        QVERIFY(!page.CompositionRadio(0)->isEnabled());
        QVERIFY(!page.CompositionRadio(1)->isEnabled());
        page.ResultRadio(kResultControlSample)->click();
        QCOMPARE(page.Kind(), TableKind::SampleControlSecond);
        QVERIFY(page.CompositionRadio(0)->isEnabled());
        page.ResultRadio(kResultAnalysis)->click();
        QVERIFY(page.CompositionRadio(0)->isEnabled() && page.CompositionRadio(1)->isEnabled());
        QCOMPARE(page.Kind(), TableKind::AnalysisSecond);
    }

    void markingPageCannotChooseTheStandardControl() {
        COutTableS7S8 page(OutTableMode::Marking, *session_);
        QVERIFY(!page.ResultRadio(kResultControlStandard)->isEnabled());
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTest::mouseClick(page.ResultRadio(kResultControlStandard), Qt::LeftButton);
        QCOMPARE(page.ResultKind(), kResultAnalysis);
        QVERIFY(page.ResultRadio(kResultAnalysis)->isChecked());
        QCOMPARE(page.CompositionRadio(0)->text(), QStringLiteral("Метод A (по t°С)"));
        QCOMPARE(page.CompositionRadio(1)->text(), QStringLiteral("Метод Б (по ЧАУ)"));
    }

    void withoutAnalysesTheGasPageShowsOnlyItsOwnColumns() {
        COutTableS7S8 page(OutTableMode::Gas, *session_);
        QCOMPARE(page.CompositionRadio(0)->text(), QStringLiteral("Компонентный"));
        page.CompositionRadio(1)->click();
        const GridModel& grid = page.Grid()->Grid();
        QCOMPARE(grid.rows.size(), std::size_t(0));
        QCOMPARE(grid.columns.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(grid.columns[0].caption), QStringLiteral("№"));
        QCOMPARE(QString::fromStdString(grid.columns[1].caption), QStringLiteral("Имя"));
    }

    void logWithoutMessagesShowsItsEmptyTextWhateverTheFilters() {
        MessageLog log;
        log.Clear();
        log.Refresh();
        CDlgMSG page(log);
        const QString empty = QStringLiteral("\r\n \tПредупреждений и ошибок нет.");
        QCOMPARE(page.Text(), empty);
        for (QCheckBox* box : {page.ErrorsBox(), page.WarningsBox(), page.InfoBox()})
            box->setChecked(false);
        QCOMPARE(page.Text(), empty);
    }

    void logFiltersHideKindsAndRenumber() {
        MessageLog log;
        log.Clear();
        log.PostText(kMsgError, "E");
        log.PostText(kMsgWarning, "W1");
        log.PostText(kMsgWarning, "W2");
        log.PostText(kMsgInfo, "I");
        log.Refresh();
        CDlgMSG page(log);
        const QString all = page.Text();
        QCOMPARE(all, QStringLiteral("1.  Ошибка! \r\n\tE\r\n2. Предупреждение! \r\n\tW1\r\n"
                                     "3. Предупреждение! \r\n\tW2\r\n4. Информация! \r\n\tI\r\n"));
        page.ErrorsBox()->setChecked(false);
        page.InfoBox()->setChecked(false);
        QCOMPARE(page.Text(),
                 QStringLiteral("1. Предупреждение! \r\n\tW1\r\n2. Предупреждение! \r\n\tW2\r\n"));
        page.WarningsBox()->setChecked(false);
        QCOMPARE(page.Text(), QString());
        for (QCheckBox* box : {page.ErrorsBox(), page.WarningsBox(), page.InfoBox()})
            box->setChecked(true);
        QCOMPARE(page.Text(), all); // toggling back gives exactly the earlier text
        QVERIFY(log.ShowErrors() && log.ShowWarnings() && log.ShowInfo());
    }

    void init() {
        session_ = std::make_unique<Session>(profile_, std::filesystem::path(dir_.path().toStdString()));
    }

private:
    guitest::IsolatedProfile isolated_;
    QTemporaryDir dir_;
    MemorySettingsStore profile_;
    std::unique_ptr<Session> session_;
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
