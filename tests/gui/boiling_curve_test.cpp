// The boiling curves on the unstable-liquid page: the picture with its hover values, the table of values
// and the rows left off the curves.
#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/number_text.h"
#include "core/common/settings_store.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/pages/boiling_curve_panel.h"
#include "gui/plot/boiling_curve_plot.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <filesystem>
#include <memory>

using talvex::gui::BoilingCurvePlot;
using talvex::gui::CBoilingCurvePanel;

namespace {

namespace fs = std::filesystem;

// Pixels of exactly this colour in the image.
int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

class BoilingCurveTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        session_ = std::make_unique<talvex::Session>(profile_, fs::path(TALVEX_SOURCE_DIR) / "data");
        QVERIFY(session_->LoadComponents().empty());
        QVERIFY(talvex::TypeExampleDegassing(session_->Degassing(), 3));
        QVERIFY(session_->AddFiles(talvex::ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")));
    }

    void theTableShowsEveryCurvesValues() {
        CBoilingCurvePanel panel;
        panel.Refresh(session_->Condensate(), session_->Nlh(), 3);
        const talvex::GridModel& grid = panel.Values()->Grid();
        QCOMPARE(grid.columns.size(), std::size_t(6)); // caption, result, three analyses, unstable liquid
        QCOMPARE(grid.columns[2].caption, std::string("ДК, Ан-1"));
        QCOMPARE(grid.columns[5].caption, std::string("НЖУ"));
        QCOMPARE(grid.rows.size(), std::size_t(21));
        const BoilingCurvePlot& plot = *panel.Plot();
        QVERIFY(plot.condensate().result && plot.nlh().result);
        // IBP and the yield at 150 °C, as the curves give them, with one decimal and with the decimals.
        QCOMPARE(grid.rows[0].cells[1], talvex::FormatFixed(plot.condensate().result->cutTemps[0], 1));
        QCOMPARE(grid.rows[0].cells[5], talvex::FormatFixed(plot.nlh().result->cutTemps[0], 1));
        QCOMPARE(grid.rows[14].cells[0], std::string("Отгон до 150 °C, %"));
        QCOMPARE(grid.rows[14].cells[1], talvex::FormatFixed(plot.condensate().result->yields[1], 3));
        // Every component of the example has its boiling point: nothing is listed as unplaced.
        QVERIFY(panel.Unplaced()->isHidden());
        QVERIFY(panel.Note()->text().contains(QStringLiteral("методом A")));
    }

    void hoveringShowsTheTemperatureAndEachResultsShare() {
        CBoilingCurvePanel panel;
        panel.Refresh(session_->Condensate(), session_->Nlh(), 3);
        panel.resize(900, 400);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        BoilingCurvePlot& plot = *panel.Plot();
        QVERIFY(!plot.hoverTemp());
        const QPoint middle = plot.rect().center();
        const std::optional<double> temp = plot.tempAt(middle);
        QVERIFY(temp);
        QVERIFY(*temp > plot.minTemp() && *temp < plot.maxTemp());
        QVERIFY(!plot.tempAt(QPoint(1, 1))); // the margin with the labels is no temperature
        QMouseEvent move(QEvent::MouseMove, middle, plot.mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&plot, &move);
        QCOMPARE(plot.hoverTemp(), temp);
        const QString text = plot.hoverText(150.0);
        QCOMPARE(text, QStringLiteral("T = 150.0 °C   ДК: %1 %   НЖУ: %2 %")
                           .arg(QString::fromStdString(talvex::FormatFixed(
                                    talvex::CurveShareAt(*plot.condensate().result, 150.0), 1)),
                                QString::fromStdString(talvex::FormatFixed(
                                    talvex::CurveShareAt(*plot.nlh().result, 150.0), 1))));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&plot, &leave);
        QVERIFY(!plot.hoverTemp());
    }

    // The picture draws each curve in its own colour, and without results it says why instead.
    void theCurvesOrTheReasonsAreDrawn() {
        BoilingCurvePlot plot;
        plot.resize(600, 300);
        talvex::CompositionCurves condensate = talvex::CondensateCurves(session_->Condensate());
        talvex::CompositionCurves nlh = talvex::NlhCurves(session_->Nlh());
        plot.setCurves(condensate, nlh);
        QImage image(plot.size(), QImage::Format_RGB32);
        plot.render(image);
        QVERIFY(CountColour(image, qRgb(0x1f, 0x4e, 0x8c)) > 200); // the condensate's result, bold
        QVERIFY(CountColour(image, qRgb(0xc0, 0x39, 0x2b)) > 100); // the unstable liquid
        QVERIFY(plot.minTemp() < 0 && plot.maxTemp() >= 500);

        talvex::CompositionCurves none;
        none.reason = "Нет анализа конденсата.";
        plot.setCurves(none, none);
        QVERIFY(!plot.tempAt(plot.rect().center())); // nothing to read off
        QCOMPARE(plot.hoverText(100.0), QStringLiteral("T = 100.0 °C"));
        plot.render(image);
        QCOMPARE(CountColour(image, qRgb(0x1f, 0x4e, 0x8c)), 0);
    }

    void anEmptySessionHasNoCurvesButAFullTableOfDashes() {
        talvex::MemorySettingsStore profile;
        talvex::Session empty(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
        CBoilingCurvePanel panel;
        panel.Refresh(empty.Condensate(), empty.Nlh(), 3);
        QVERIFY(!panel.Plot()->condensate().result);
        QVERIFY(!panel.Plot()->condensate().reason.empty());
        QVERIFY(!panel.Plot()->nlh().reason.empty());
        const talvex::GridModel& grid = panel.Values()->Grid();
        QCOMPARE(grid.columns.size(), std::size_t(3));
        for (const talvex::GridRow& row : grid.rows) {
            QCOMPARE(row.cells[1], std::string("---"));
            QCOMPARE(row.cells[2], std::string("---"));
        }
    }

private:
    talvex::MemorySettingsStore profile_;
    std::unique_ptr<talvex::Session> session_;
};

} // namespace

QTEST_MAIN(BoilingCurveTest)
#include "boiling_curve_test.moc"
