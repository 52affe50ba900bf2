// The degassing page: the delayed taking of a typed value, one pending field at a time, the rewrite of
// the typed text, the method's labels and enabled fields, and the queued recalculation request.
#include "gui/degassing/dlg_degassing.h"

#include "core/app/session.h"
#include "core/common/settings.h"
#include "core/common/settings_store.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace talvex::gui;

using talvex::DegassingField;

class DegassingPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<talvex::MemorySettingsStore> store_;
    std::unique_ptr<talvex::Session> session_;
    std::unique_ptr<CDlgDegassing> page_;

    QLineEdit* Edit(DegassingField f) const { return page_->fieldEdit(f); }
    const talvex::DegassingParameters& Values() const { return session_->Degassing().Parameters(); }

    // Replaces a field's text as typing would, then takes it at once (as the timer would).
    void Type(DegassingField f, const QString& text) {
        Edit(f)->selectAll();
        QTest::keyClicks(Edit(f), text);
        if (text.isEmpty())
            QTest::keyClick(Edit(f), Qt::Key_Delete);
    }
    void TypeAndTake(DegassingField f, const QString& text) {
        Type(f, text);
        page_->takePendingEdit();
    }

private slots:
    void init() {
        store_ = std::make_unique<talvex::MemorySettingsStore>();
        session_ = std::make_unique<talvex::Session>(*store_, TALVEX_SOURCE_DIR "/data");
        page_ = std::make_unique<CDlgDegassing>(*session_);
    }
    void cleanup() {
        page_.reset();
        session_.reset();
        store_.reset();
    }

    void startsAtZeroWithMethodA() {
        QCOMPARE(page_->inputDelay(), 1000);
        QVERIFY(page_->methodButton(talvex::MethodA)->isChecked());
        QCOMPARE(page_->methodButton(talvex::MethodA)->text(), QStringLiteral("Метод А "));
        QCOMPARE(Edit(DegassingField::AtmPressure)->text(), QStringLiteral("0.0"));
        QCOMPARE(Edit(DegassingField::GasFactor)->text(), QStringLiteral("0.000"));
        QVERIFY(Edit(DegassingField::GasFactor)->isReadOnly());
        QCOMPARE(Edit(DegassingField::GasFactor)->alignment(), Qt::AlignCenter);
    }

    // Results sit on the window's background, inputs on the usual white one, as drawn on the screen.
    void resultsLookReadOnly() {
        page_->resize(900, 400);
        for (std::size_t i = 0; i < talvex::kDegassingFieldCount; ++i) {
            const auto field = static_cast<DegassingField>(i);
            QLineEdit* edit = Edit(field);
            const bool input = talvex::IsDegassingInput(field);
            QCOMPARE(edit->isReadOnly(), !input);
            const QPalette& palette = edit->palette();
            const QColor expected =
                palette.color(QPalette::Active, input ? QPalette::Base : QPalette::Window);
            QCOMPARE(palette.color(QPalette::Active, QPalette::Base), expected);
            if (!edit->isEnabled())
                continue; // a field the method closes is drawn disabled
            const QImage image = edit->grab().toImage();
            QCOMPARE(QColor(image.pixel(6, image.height() / 2)), expected);
        }
        QVERIFY(Edit(DegassingField::AtmPressure)->palette().color(QPalette::Base) !=
                Edit(DegassingField::GasFactor)->palette().color(QPalette::Base));
    }

    // The real timer, with a short interval: the text is taken only after the delay.
    void takesTheTypedValueAfterTheDelay() {
        page_->setInputDelay(30);
        Type(DegassingField::CondMass1, "1,5");
        QVERIFY(page_->hasPendingField());
        QCOMPARE(Values().CondMass1, 0.0);
        QTRY_COMPARE(Edit(DegassingField::CondMass1)->text(), QStringLiteral("1.5"));
        QCOMPARE(Values().CondMass1, 1.5);
        QVERIFY(!page_->hasPendingField());
        QCOMPARE(Edit(DegassingField::CondMass)->text(), QStringLiteral("1.500"));
    }

    void rewritesTheTypedText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "1,5"
                               << "1.5" << 1.5;
        QTest::newRow("decimals kept") << "3.10"
                                       << "3.10" << 3.1;
        QTest::newRow("trailing point") << "12."
                                        << "12" << 12.0;
        QTest::newRow("letters") << "abc"
                                 << "0" << 0.0;
        QTest::newRow("empty") << ""
                               << "0" << 0.0;
        // Every character after the point counts as a decimal, the unit's letters too.
        QTest::newRow("number then text") << "7,25 g"
                                          << "7.2500" << 7.25;
    }
    void rewritesTheTypedText() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(double, value);
        TypeAndTake(DegassingField::CondMass2, typed);
        QCOMPARE(Edit(DegassingField::CondMass2)->text(), shown);
        QCOMPARE(Values().CondMass2, value);
        // The edit is complete even when the rewrite left the text as it was: the next field is taken.
        QVERIFY(!page_->hasPendingField());
        TypeAndTake(DegassingField::CondMass1, "2");
        QCOMPARE(Values().CondMass1, 2.0);
    }

    // While one field waits, typing into another takes the waiting one at once; the other then waits.
    void oneFieldPendingAtATime() {
        Type(DegassingField::AtmPressure, "100");
        Type(DegassingField::GasTemperature, "7");
        QCOMPARE(Values().AtmPressure, 100.0);
        QCOMPARE(Values().GasTemperature, 0.0);
        QVERIFY(page_->hasPendingField());
        page_->takePendingEdit();
        QCOMPARE(Values().GasTemperature, 7.0);
        QCOMPARE(Edit(DegassingField::GasTemperature)->text(), QStringLiteral("7"));
        TypeAndTake(DegassingField::GasTemperature, "8");
        QCOMPARE(Values().GasTemperature, 8.0);
    }

    // The operator types 80 into one mass, Tab, 20 into the other within the second: both are computed
    // with, the first at once when the second field changes, the second when its timer fires.
    void aSecondFieldTakesThePendingOneAtOnce() {
        page_->show();
        QVERIFY(QTest::qWaitForWindowActive(page_.get()));
        QLineEdit* first = Edit(DegassingField::CondMass1);
        QLineEdit* second = Edit(DegassingField::CondMass2);
        first->setFocus();
        first->selectAll();
        QTest::keyClicks(first, "80");
        QTest::keyClick(first, Qt::Key_Tab);
        QVERIFY(second->hasFocus());
        QTest::keyClicks(second, "20"); // Tab selected the field's text: typing replaces it
        QCOMPARE(Values().CondMass1, 80.0);
        QCOMPARE(first->text(), QStringLiteral("80"));
        QCOMPARE(Edit(DegassingField::CondMass)->text(), QStringLiteral("80.000"));
        QTRY_COMPARE(Values().CondMass2, 20.0); // its own timer, a second after the keystroke
        QCOMPARE(second->text(), QStringLiteral("20"));
        QCOMPARE(Edit(DegassingField::CondMass)->text(), QStringLiteral("100.000"));
        QVERIFY(!page_->hasPendingField());
    }

    // A method chosen while a field waits takes that field first, under the method it was typed for; a
    // field the new method closes keeps the value its text shows.
    void aMethodChangeTakesThePendingFieldFirst_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("openAfter");
        QTest::newRow("pressure, closed by B")
            << int(DegassingField::AtmPressure) << int(talvex::MethodB) << false;
        QTest::newRow("second volume, closed by A modified")
            << int(DegassingField::GasVolume2) << int(talvex::MethodAModified) << false;
        QTest::newRow("mass, open under B") << int(DegassingField::CondMass1) << int(talvex::MethodB) << true;
    }
    void aMethodChangeTakesThePendingFieldFirst() {
        QFETCH(int, field);
        QFETCH(int, method);
        QFETCH(bool, openAfter);
        const auto f = static_cast<DegassingField>(field);
        Type(f, "5,5");
        QTest::mouseClick(page_->methodButton(method), Qt::LeftButton);
        QVERIFY(!page_->hasPendingField());
        QCOMPARE(Edit(f)->text(), QStringLiteral("5.5"));
        QCOMPARE(Edit(f)->isEnabled(), openAfter);
        QCOMPARE(session_->Degassing().Fields()[std::size_t(field)].text, std::string("5.5"));
        const double value = f == DegassingField::AtmPressure  ? Values().AtmPressure
                             : f == DegassingField::GasVolume2 ? Values().GasVolume2
                                                               : Values().CondMass1;
        QCOMPARE(value, 5.5);
        QCOMPARE(Values().Method, method);
        // Nothing waits any more: the delay passing changes nothing.
        QTest::qWait(page_->inputDelay() + 200);
        QCOMPARE(Edit(f)->text(), QStringLiteral("5.5"));
        QVERIFY(!page_->hasPendingField());
    }

    // The page goes on normally after a method change that took a waiting field.
    void methodBAfterAPendingPressure() {
        Type(DegassingField::AtmPressure, "5");
        QTest::mouseClick(page_->methodButton(talvex::MethodB), Qt::LeftButton);
        QVERIFY(!Edit(DegassingField::AtmPressure)->isEnabled());
        page_->takePendingEdit();
        QCOMPARE(Values().AtmPressure, 5.0);
        QVERIFY(!page_->hasPendingField());
        TypeAndTake(DegassingField::SampleMass, "120");
        TypeAndTake(DegassingField::CondMass1, "90");
        TypeAndTake(DegassingField::CondMass2, "10");
        QCOMPARE(Edit(DegassingField::GasMass)->text(), QStringLiteral("20.000"));
        QCOMPARE(Edit(DegassingField::GasFraction)->text(), QStringLiteral("0.167"));
        QCOMPARE(Edit(DegassingField::CondFraction)->text(), QStringLiteral("0.833"));
        QCOMPARE(Edit(DegassingField::GasFactor)->text(), QStringLiteral("200.000"));
    }

    void methodAResults() {
        TypeAndTake(DegassingField::AtmPressure, "101.32");
        TypeAndTake(DegassingField::GasTemperature, "293.15");
        TypeAndTake(DegassingField::GasVolume1, "0.01");
        TypeAndTake(DegassingField::GasVolume2, "0.002");
        TypeAndTake(DegassingField::CondMass1, "80");
        TypeAndTake(DegassingField::CondMass2, "20");
        QCOMPARE(Edit(DegassingField::GasVolumeNC)->text(), QStringLiteral("0.012"));
        QCOMPARE(Edit(DegassingField::GasFactor)->text(), QStringLiteral("120.000"));
        QTest::mouseClick(page_->methodButton(talvex::MethodAModified), Qt::LeftButton);
        QCOMPARE(Edit(DegassingField::GasFactor)->text(), QStringLiteral("100.000"));
        QVERIFY(!Edit(DegassingField::GasVolume2)->isEnabled());
    }

    void labelsAndFieldsFollowTheMethod() {
        auto label = [this](DegassingField f) { return page_->fieldLabel(f)->text(); };
        QTest::mouseClick(page_->methodButton(talvex::MethodAModified), Qt::LeftButton);
        QCOMPARE(label(DegassingField::GasVolume1), QStringLiteral("Объем ГД полученный при дегазации, м³:"));
        QTest::mouseClick(page_->methodButton(talvex::MethodB), Qt::LeftButton);
        // Method B leaves this label as the method before it set it.
        QCOMPARE(label(DegassingField::GasVolume1), QStringLiteral("Объем ГД полученный при дегазации, м³:"));
        QCOMPARE(label(DegassingField::CondMass1), QStringLiteral("Масса ДК дегазации, г:"));
        QCOMPARE(label(DegassingField::CondMass2), QStringLiteral("Масса ДК в ловушках, г:"));
        QCOMPARE(label(DegassingField::GasFactor), QStringLiteral("Газовый фактор, кг/т:"));
        QVERIFY(Edit(DegassingField::SampleMass)->isEnabled());
        QVERIFY(!Edit(DegassingField::GasVolume1)->isEnabled());
        QTest::mouseClick(page_->methodButton(talvex::MethodA), Qt::LeftButton);
        QCOMPARE(label(DegassingField::GasVolume1), QStringLiteral("Объем ГД прошедший через счетчик, м³:"));
        QCOMPARE(label(DegassingField::GasFactor), QStringLiteral("Газовый фактор, м³/т:"));
        QVERIFY(!Edit(DegassingField::SampleMass)->isEnabled());
    }

    // The request runs after the handler that caused it, once per completed edit.
    void requestsTheRecalculationQueued() {
        QSignalSpy requests(page_.get(), &CDlgDegassing::recalculationRequested);
        QTRY_COMPARE(requests.count(), 1); // the one of the page's start
        requests.clear();
        TypeAndTake(DegassingField::CondMass1, "4");
        QCOMPARE(requests.count(), 0);
        QTRY_COMPARE(requests.count(), 1);
        Type(DegassingField::CondMass1, "5"); // typing alone asks for nothing
        QCoreApplication::processEvents();
        QCOMPARE(requests.count(), 1);
    }

    // The decimals are read afresh from the stored settings on every recalculation.
    void resultsFollowTheStoredDecimals() {
        store_->WriteInt(talvex::kSettingsSection, talvex::kKeyDecimals, 1);
        page_->RecalcDegassing();
        QCOMPARE(Edit(DegassingField::GasFactor)->text(), QStringLiteral("0.0"));
        store_->WriteInt(talvex::kSettingsSection, talvex::kKeyDecimals, 5);
        page_->RecalcDegassing();
        QCOMPARE(Edit(DegassingField::CondMass)->text(), QStringLiteral("0.00000"));
    }
};

QTEST_MAIN(DegassingPageTest)
#include "degassing_page_test.moc"
