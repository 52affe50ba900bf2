#include "core/common/settings_store.h"
#include "gui/settings/settings_dlg.h"
#include "gui_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using talvex::MemorySettingsStore;
using talvex::gui::CSettingsDlg;

namespace {

// What OK stored in the profile.
struct Stored {
    int decimals;
    int mode;
    int correction;
    std::string n2, o2, co2;
};

Stored Read(const MemorySettingsStore& p) {
    return {p.ReadInt("settings", "QtyNumAfterDot", -1),   p.ReadInt("settings", "ModeCalc", -1),
            p.ReadInt("settings", "Sect7_CorrectO2", -1),  p.ReadString("settings", "Sect7_ConcN2", "?"),
            p.ReadString("settings", "Sect7_ConcO2", "?"), p.ReadString("settings", "Sect7_ConcCO2", "?")};
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        profile_ = MemorySettingsStore();
        profile_.WriteInt("settings", "QtyNumAfterDot", 3);
        profile_.WriteInt("settings", "ModeCalc", 1);
        profile_.WriteInt("settings", "Sect7_CorrectO2", 1);
        profile_.WriteString("settings", "Sect7_ConcN2", "75.5");
        profile_.WriteString("settings", "Sect7_ConcO2", "23.1");
        profile_.WriteString("settings", "Sect7_ConcCO2", "0.05");
    }

    void showsTheStoredSettings() {
        CSettingsDlg dialog(profile_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(dialog.DecimalsBox()->value(), 3);
        QVERIFY(dialog.ModeButton(1)->isChecked());
        QCOMPARE(dialog.ModeButton(2)->text(), QStringLiteral("Полный расчет"));
        QVERIFY(dialog.AirCorrectionCheck()->isChecked());
        QCOMPARE(dialog.ShareEdit(CSettingsDlg::kN2)->text(), QStringLiteral("75.500"));
        QCOMPARE(dialog.ShareEdit(CSettingsDlg::kCO2)->text(), QStringLiteral("0.050"));
    }

    void arrowsStayWithinOneToTen_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("shown");
        QTest::newRow("up") << 3 << 1 << 4;
        QTest::newRow("down") << 3 << -1 << 2;
        QTest::newRow("up at 10") << 10 << 1 << 10;
        QTest::newRow("down at 1") << 1 << -1 << 1;
    }
    void arrowsStayWithinOneToTen() {
        QFETCH(int, start);
        QFETCH(int, steps);
        QFETCH(int, shown);
        profile_.WriteInt("settings", "QtyNumAfterDot", start);
        CSettingsDlg dialog(profile_);
        dialog.DecimalsBox()->stepBy(steps);
        QCOMPARE(dialog.DecimalsBox()->value(), shown);
    }

    void typedDecimalsAreLimitedOnOk_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<std::string>("n2");
        QTest::newRow("0") << "0" << 1 << std::string("75.5");
        QTest::newRow("11") << "11" << 10 << std::string("75.5000000000");
        QTest::newRow("5") << "5" << 5 << std::string("75.50000");
    }
    void typedDecimalsAreLimitedOnOk() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        QFETCH(std::string, n2);
        CSettingsDlg dialog(profile_);
        dialog.DecimalsBox()->findChild<QLineEdit*>()->setText(typed); // typed by hand
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Read(profile_).decimals, stored);
        QCOMPARE(Read(profile_).n2, n2);
    }

    void airCorrectionEnablesTheShares() {
        CSettingsDlg dialog(profile_);
        dialog.AirCorrectionCheck()->setChecked(false);
        for (auto share : {CSettingsDlg::kN2, CSettingsDlg::kO2, CSettingsDlg::kCO2})
            QVERIFY(!dialog.ShareEdit(share)->isEnabled());
        QCOMPARE(dialog.ShareEdit(CSettingsDlg::kO2)->text(), QStringLiteral("23.100")); // values kept
        dialog.ModeButton(2)->setChecked(true);
        dialog.accept();
        const Stored s = Read(profile_);
        QCOMPARE(s.correction, 0);
        QCOMPARE(s.mode, 2);
        QCOMPARE(s.o2, std::string("23.100"));
        dialog.AirCorrectionCheck()->setChecked(true);
        QVERIFY(dialog.ShareEdit(CSettingsDlg::kCO2)->isEnabled());
    }

    void typedShareIsTakenOverAfterTheDelay() {
        CSettingsDlg dialog(profile_);
        QLineEdit* n2 = dialog.ShareEdit(CSettingsDlg::kN2);
        n2->setText(QStringLiteral("20,95"));
        QCOMPARE(dialog.PendingShare(), int(CSettingsDlg::kN2));
        QVERIFY(dialog.TimerActive());
        QCOMPARE(dialog.Values().Sect7_ConcN2, 75.5); // not yet
        dialog.ConvertPendingShare();                 // what the timer runs a second after the last keystroke
        QCOMPARE(n2->text(), QStringLiteral("20.95"));
        QCOMPARE(n2->cursorPosition(), 5);
        QCOMPARE(dialog.PendingShare(), -1);
        QVERIFY(!dialog.TimerActive());
        QCOMPARE(dialog.Values().Sect7_ConcN2, 20.95);
        QCOMPARE(dialog.Values().Sect7_ConcO2, 23.1);
        dialog.accept();
        const Stored s = Read(profile_);
        QCOMPARE(s.n2, std::string("20.950"));
        QCOMPARE(s.o2, std::string("23.100"));
    }

    // Typing into a second share while the first waits takes the first at once (as its timer would); the
    // second waits for its own second.
    void aSecondShareTakesThePendingOneAtOnce() {
        CSettingsDlg dialog(profile_);
        Show(dialog);
        QLineEdit* n2 = dialog.ShareEdit(CSettingsDlg::kN2);
        QLineEdit* o2 = dialog.ShareEdit(CSettingsDlg::kO2);
        TypeOver(n2, "20,95");
        TypeOver(o2, "1,5");
        QCOMPARE(dialog.Values().Sect7_ConcN2, 20.95);
        QCOMPARE(n2->text(), QStringLiteral("20.95"));
        QCOMPARE(dialog.PendingShare(), int(CSettingsDlg::kO2));
        QTRY_COMPARE(o2->text(), QStringLiteral("1.5")); // the real timer
        QCOMPARE(dialog.Values().Sect7_ConcO2, 1.5);
        QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Read(profile_).n2, std::string("20.950"));
        QCOMPARE(Read(profile_).o2, std::string("1.500"));
    }

    // OK, clicked or by Enter, takes a share typed less than a second before it.
    void okAndEnterTakeThePendingShare_data() {
        QTest::addColumn<bool>("enter");
        QTest::newRow("OK clicked") << false;
        QTest::newRow("Enter in the field") << true;
    }
    void okAndEnterTakeThePendingShare() {
        QFETCH(bool, enter);
        CSettingsDlg dialog(profile_);
        Show(dialog);
        QLineEdit* co2 = dialog.ShareEdit(CSettingsDlg::kCO2);
        TypeOver(co2, "7,25");
        QCOMPARE(dialog.PendingShare(), int(CSettingsDlg::kCO2));
        if (enter)
            QTest::keyClick(co2, Qt::Key_Return);
        else
            QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Read(profile_).co2, std::string("7.250"));
        QCOMPARE(Read(profile_).n2, std::string("75.500"));
    }

    // The shares are stored as typed; only the dialog shows them with the stored decimals.
    void sharesAreStoredAtFullPrecision() {
        profile_.WriteInt("settings", "QtyNumAfterDot", 1);
        {
            CSettingsDlg dialog(profile_);
            Show(dialog);
            QCOMPARE(dialog.ShareEdit(CSettingsDlg::kCO2)->text(), QStringLiteral("0.1")); // 0.05 shown
            TypeOver(dialog.ShareEdit(CSettingsDlg::kO2), "20,946");
            QTest::keyClick(dialog.ShareEdit(CSettingsDlg::kO2), Qt::Key_Return);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        Stored s = Read(profile_);
        QCOMPARE(s.co2, std::string("0.05")); // untouched, and not rounded to 0.1
        QCOMPARE(s.o2, std::string("20.946"));
        QCOMPARE(s.n2, std::string("75.5"));
        CSettingsDlg again(profile_);
        QCOMPARE(again.Values().Sect7_ConcCO2, 0.05);
        QCOMPARE(again.Values().Sect7_ConcO2, 20.946);
        QCOMPARE(again.ShareEdit(CSettingsDlg::kO2)->text(), QStringLiteral("20.9"));
    }

    void disabledPendingShareIsNotTakenOver() {
        CSettingsDlg dialog(profile_);
        dialog.ShareEdit(CSettingsDlg::kN2)->setText(QStringLiteral("1"));
        dialog.AirCorrectionCheck()->setChecked(false);
        dialog.ConvertPendingShare();
        QCOMPARE(dialog.Values().Sect7_ConcN2, 75.5);
        QCOMPARE(dialog.ShareEdit(CSettingsDlg::kN2)->text(), QStringLiteral("1"));
    }

    void cancelStoresNothing() {
        CSettingsDlg dialog(profile_);
        dialog.DecimalsBox()->setValue(6);
        dialog.ModeButton(0)->setChecked(true);
        dialog.reject();
        QCOMPARE(Read(profile_).decimals, 3);
        QCOMPARE(Read(profile_).mode, 1);
    }

private:
    static void Show(CSettingsDlg& dialog) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
    // The operator clicks into the field, selects its text and types over it.
    static void TypeOver(QLineEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
    static QPushButton* OkButton(CSettingsDlg& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("ОК"))
                return button;
        qFatal("no OK button");
    }

    talvex::guitest::IsolatedProfile isolated_;
    MemorySettingsStore profile_;
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
