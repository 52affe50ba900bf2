// The chart painter on a raster image: every mark where the layout puts it, in its colour and shape.
#include "chartpaint/chart_painter.h"

#include "core/controlchart/chart_layout.h"
#include "core/controlchart/control_chart.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace talvex::chartpaint {
namespace {

using namespace controlchart;

QGuiApplication& App() {
    static int argc = 3;
    static char name[] = "test", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

ControlObservation Okp(double q, bool excluded = false, bool imported = false) {
    ControlObservation o;
    o.key = {ControlKind::Okp, ControlMedium::Gas, "component", "Метан"};
    o.measured = 10.0 + q;
    o.reference = 10.0;
    o.difference = q;
    o.limit = 1.0;
    o.excluded = excluded;
    o.imported = imported;
    return o;
}

bool Near(QColor a, const char* hex) {
    const QColor b(hex);
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

TEST(ChartPainter, MarksInTheirPlacesColoursAndShapes) {
    App();
    const SeriesKey key{ControlKind::Okp, ControlMedium::Gas, "component", "Метан"};
    std::vector<ControlObservation> obs = {Okp(0.1), Okp(1.5), Okp(0.2, true), Okp(0.3, false, true)};
    for (std::size_t i = 0; i < obs.size(); ++i)
        obs[i].time = 1704067200 + static_cast<std::int64_t>(i) * 86400;
    const Chart chart = BuildChart(key, obs, {});
    ASSERT_EQ(chart.ruleSignals.size(), 1u);
    const ChartLayout layout = LayOutChart(chart);
    ASSERT_EQ(layout.marks.size(), 4u);

    // Twice the size of the picture file, and off-centre, as a widget might be.
    QImage image(2 * 1440 + 100, 2 * 780, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRectF target(100, 0, 2 * 1440, 2 * 780);
    {
        QPainter painter(&image);
        PaintChart(painter, layout, target);
    }
    const double scale = 2 * 1440 / ChartLayout::kWidth;
    const auto at = [&](const LaidMark& m, double dx = 0, double dy = 0) {
        return image.pixelColor(static_cast<int>(100 + m.x * scale + dx), static_cast<int>(m.y * scale + dy));
    };
    EXPECT_TRUE(Near(at(layout.marks[0]), "#1565c0")) << at(layout.marks[0]).name().toStdString();
    EXPECT_TRUE(Near(at(layout.marks[1]), "#d50000")) << at(layout.marks[1]).name().toStdString();
    EXPECT_TRUE(Near(at(layout.marks[2]), "#ffffff")) << at(layout.marks[2]).name().toStdString(); // open
    EXPECT_TRUE(Near(at(layout.marks[3]), "#1565c0"));
    // A square reaches into the corner of its box, a circle does not.
    const double corner = 7.5 * scale; // inside the square (7.2 + its pen), outside the circle (8 + its pen)
    EXPECT_TRUE(Near(at(layout.marks[3], corner, corner), "#1565c0"));
    EXPECT_FALSE(Near(at(layout.marks[0], corner, -corner), "#1565c0"));
    // The whole target is the chart's white page.
    EXPECT_TRUE(Near(image.pixelColor(110, 5), "#ffffff"));
    EXPECT_TRUE(Near(image.pixelColor(50, 5), "#000000"));

    EXPECT_EQ(MarkAt(layout, target, QPointF(100 + layout.marks[1].x * scale + 3, layout.marks[1].y * scale)),
              1);
    EXPECT_EQ(MarkAt(layout, target, QPointF(100 + 5, 5)), -1);
}

} // namespace
} // namespace talvex::chartpaint
