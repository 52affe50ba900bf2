#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <vector>

namespace talvex {
class CChmFile;
class Session;
} // namespace talvex

namespace talvex::gui {

// A shaded time band drawn behind the signal, e.g. a boiling fraction's marking window.
struct PlotBand {
    double start = 0.0; // minutes
    double end = 0.0;   // minutes
    QString name;
};

// Draws one chromatogram: the signal, every peak's bounds and baseline, the names of named peaks and
// optional shaded bands. Wheel zooms the time axis around the cursor, a drag with the right button (or
// with Shift) draws a rubber band to zoom into, a drag with the left button pans, a double click shows
// everything again. Long signals are drawn from the minimum and maximum of each pixel column.
class ChromatogramPlot : public QWidget {
    Q_OBJECT
public:
    explicit ChromatogramPlot(QWidget* parent = nullptr);

    // Shows the chromatogram (copied: the plot keeps no pointer into the list); nullptr clears the plot.
    void setChromatogram(const talvex::CChmFile* chromatogram);
    void setBands(std::vector<PlotBand> bands);
    const std::vector<PlotBand>& bands() const { return bands_; }
    // Shows the session's selected chromatogram and, for a condensate analysis after a recalculation,
    // the fraction windows of marking method A. Call it after every selection change and recalculation.
    void showSelected(const talvex::Session& session);

    // The visible range, minutes and signal units.
    QRectF viewRange() const { return view_; }
    void setViewRange(const QRectF& range);
    void resetView();

    // Renders the plot into an image of the given size (the benchmark and tests use it offscreen).
    void render(QImage& image) const;

    QSize sizeHint() const override { return {600, 250}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Peak {
        double begin, end, baselineStart, baselineEnd, apexTime;
        QString name;
    };

    void Draw(QPainter& painter, const QRect& area) const;
    QRectF FullRange() const;

    std::vector<float> samples_;
    double startTime_ = 0.0;
    double step_ = 1.0;
    std::vector<Peak> peaks_;
    std::vector<PlotBand> bands_;
    QRectF view_;
    enum class Drag { None, Pan, Band } drag_ = Drag::None;
    QPointF dragStart_;
    QPointF dragNow_;
    QRectF dragView_;
};

} // namespace talvex::gui
