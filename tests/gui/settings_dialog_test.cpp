#include "common/settings_store.h"
#include "gui_test_support.h"
#include "settings/settings_dlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

using talvex::MemorySettingsStore;
using talvex::gui::CSettings;

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
        CSettings dialog(profile_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(dialog.DecimalsBox()->value(), 3);
        QVERIFY(dialog.ModeButton(1)->isChecked());
        QCOMPARE(dialog.ModeButton(2)->text(), QStringLiteral("Полный расчет"));
        QVERIFY(dialog.AirCorrectionCheck()->isChecked());
        QCOMPARE(dialog.ShareEdit(CSettings::kN2)->text(), QStringLiteral("75.500"));
        QCOMPARE(dialog.ShareEdit(CSettings::kCO2)->text(), QStringLiteral("0.050"));
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
        CSettings dialog(profile_);
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
        CSettings dialog(profile_);
        dialog.DecimalsBox()->findChild<QLineEdit*>()->setText(typed); // typed by hand
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Read(profile_).decimals, stored);
        QCOMPARE(Read(profile_).n2, n2);
    }

    void airCorrectionEnablesTheShares() {
        CSettings dialog(profile_);
        dialog.AirCorrectionCheck()->setChecked(false);
        for (auto share : {CSettings::kN2, CSettings::kO2, CSettings::kCO2})
            QVERIFY(!dialog.ShareEdit(share)->isEnabled());
        QCOMPARE(dialog.ShareEdit(CSettings::kO2)->text(), QStringLiteral("23.100")); // values kept
        dialog.ModeButton(2)->setChecked(true);
        dialog.accept();
        const Stored s = Read(profile_);
        QCOMPARE(s.correction, 0);
        QCOMPARE(s.mode, 2);
        QCOMPARE(s.o2, std::string("23.100"));
        dialog.AirCorrectionCheck()->setChecked(true);
        QVERIFY(dialog.ShareEdit(CSettings::kCO2)->isEnabled());
    }

    void typedShareIsTakenOverAfterTheDelay() {
        CSettings dialog(profile_);
        QLineEdit* n2 = dialog.ShareEdit(CSettings::kN2);
        n2->setText(QStringLiteral("20,95"));
        QCOMPARE(dialog.PendingShare(), int(CSettings::kN2));
        QVERIFY(dialog.TimerActive());
        QCOMPARE(dialog.Values().Sect7_ConcN2, 75.5); // not yet
        // While N2 waits, a change of O2 is not taken over.
        dialog.ShareEdit(CSettings::kO2)->setText(QStringLiteral("1,5"));
        dialog.ConvertPendingShare(); // what the timer runs a second after the last keystroke
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

    void shareTypedJustBeforeOkKeepsItsValue() {
        CSettings dialog(profile_);
        dialog.ShareEdit(CSettings::kCO2)->setText(QStringLiteral("7"));
        dialog.accept(); // the second has not passed
        QCOMPARE(Read(profile_).co2, std::string("0.050"));
    }

    void disabledPendingShareIsNotTakenOver() {
        CSettings dialog(profile_);
        dialog.ShareEdit(CSettings::kN2)->setText(QStringLiteral("1"));
        dialog.AirCorrectionCheck()->setChecked(false);
        dialog.ConvertPendingShare();
        QCOMPARE(dialog.Values().Sect7_ConcN2, 75.5);
        QCOMPARE(dialog.ShareEdit(CSettings::kN2)->text(), QStringLiteral("1"));
    }

    void cancelStoresNothing() {
        CSettings dialog(profile_);
        dialog.DecimalsBox()->setValue(6);
        dialog.ModeButton(0)->setChecked(true);
        dialog.reject();
        QCOMPARE(Read(profile_).decimals, 3);
        QCOMPARE(Read(profile_).mode, 1);
    }

private:
    talvex::guitest::IsolatedProfile isolated_;
    MemorySettingsStore profile_;
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
