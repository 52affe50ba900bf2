#pragma once

#include "core/curve/composition_curves.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

namespace talvex::gui {

// Draws the boiling curves of a calculation: the degassed condensate's result curve bold, each of its
// analyses thin, the unstable liquid in a colour of its own; temperature, °C, across and "% отгона" up.
// Without any curve it shows the reasons. Moving the mouse over the drawing shows the temperature under
// it and each result curve's share there.
class BoilingCurvePlot : public QWidget {
    Q_OBJECT
public:
    explicit BoilingCurvePlot(QWidget* parent = nullptr);

    void setCurves(talvex::CompositionCurves condensate, talvex::CompositionCurves nlh);
    const talvex::CompositionCurves& condensate() const { return condensate_; }
    const talvex::CompositionCurves& nlh() const { return nlh_; }

    // The temperature range across, °C: whole fifties around every curve's points.
    double minTemp() const { return tMin_; }
    double maxTemp() const { return tMax_; }

    // The temperature under a point of the widget, or nothing outside the drawing area.
    std::optional<double> tempAt(const QPoint& pos) const;
    // What the hover box says at a temperature: T and each result curve's share there.
    QString hoverText(double temp) const;
    // The temperature the hover box shows, or nothing while the mouse is away.
    std::optional<double> hoverTemp() const { return hover_; }

    // Renders the plot into an image of its size (tests and the report's picture use it offscreen).
    void render(QImage& image) const;

    QSize sizeHint() const override { return {520, 260}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Draw(QPainter& painter, const QRect& all) const;
    QRect DrawingArea(const QRect& all) const;

    talvex::CompositionCurves condensate_;
    talvex::CompositionCurves nlh_;
    double tMin_ = 0.0;
    double tMax_ = 100.0;
    std::optional<double> hover_;
};

} // namespace talvex::gui
