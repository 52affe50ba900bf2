#include "gui/plot/chromatogram_plot.h"

#include "core/app/session.h"
#include "core/chromatogram/chm_file.h"
#include "core/common/number_text.h"
#include "core/section8/fraction_windows.h"
#include "gui/plot/column_decimation.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace talvex::gui {

namespace {

// Room for the axis labels around the drawing area.
constexpr int kLeftMargin = 64;
constexpr int kRightMargin = 12;
constexpr int kTopMargin = 10;
constexpr int kBottomMargin = 24;

QRect DrawingArea(const QRect& all) {
    return all.adjusted(kLeftMargin, kTopMargin, -kRightMargin, -kBottomMargin);
}

// A step of 1, 2 or 5 times a power of ten that gives about `wanted` ticks over `span`.
double TickStep(double span, int wanted) {
    const double raw = span / std::max(wanted, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10.0 * power;
}

// Maps view coordinates (minutes, signal) to pixels of the drawing area and back.
struct Mapping {
    QRectF view;
    QRect area;
    double X(double t) const { return area.left() + (t - view.left()) / view.width() * area.width(); }
    double Y(double v) const { return area.bottom() - (v - view.top()) / view.height() * area.height(); }
    double T(double x) const { return view.left() + (x - area.left()) / area.width() * view.width(); }
    double V(double y) const { return view.top() + (area.bottom() - y) / area.height() * view.height(); }
};

} // namespace

ChromatogramPlot::ChromatogramPlot(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(120);
    setMouseTracking(false);
    setFocusPolicy(Qt::WheelFocus);
    view_ = FullRange();
}

void ChromatogramPlot::setChromatogram(const talvex::CChmFile* chromatogram) {
    samples_.clear();
    peaks_.clear();
    if (chromatogram) {
        const talvex::CLattice& signal = chromatogram->signal;
        samples_ = signal.samples;
        startTime_ = signal.startTime;
        step_ = signal.step > 0 ? signal.step : 1.0;
        for (const talvex::cmpeek& p : chromatogram->peaks)
            peaks_.push_back({p.beginTime, p.endTime, p.baselineStart, p.baselineEnd, p.retentionTime,
                              QString::fromStdString(p.name)});
    }
    resetView();
}

void ChromatogramPlot::setBands(std::vector<PlotBand> bands) {
    bands_ = std::move(bands);
    update();
}

void ChromatogramPlot::showSelected(const talvex::Session& session) {
    const std::int32_t id = session.SelectedFileId();
    const talvex::ChromatogramList& list = session.Chromatograms();
    const auto it = std::find_if(list.begin(), list.end(), [id](const auto& c) { return c.fileId == id; });
    setChromatogram(it == list.end() ? nullptr : &*it);
    std::vector<PlotBand> bands;
    if (it != list.end())
        for (const talvex::FractionWindow& w : talvex::MethodAFractionWindows(session.Condensate(), id))
            bands.push_back({w.start, w.end, QString::fromStdString(w.name)});
    setBands(std::move(bands));
}

QRectF ChromatogramPlot::FullRange() const {
    if (samples_.size() < 2)
        return {0.0, 0.0, 1.0, 1.0};
    const auto [lo, hi] = std::minmax_element(samples_.begin(), samples_.end());
    double vMin = *lo;
    double vMax = *hi;
    if (!(vMax > vMin)) {
        vMin -= 1.0;
        vMax += 1.0;
    }
    const double pad = (vMax - vMin) * 0.05;
    const double duration = step_ * static_cast<double>(samples_.size() - 1);
    return {startTime_, vMin - pad, duration, vMax - vMin + 2 * pad};
}

void ChromatogramPlot::setViewRange(const QRectF& range) {
    if (range.width() > 0 && range.height() > 0 && std::isfinite(range.width()) &&
        std::isfinite(range.height()))
        view_ = range;
    update();
}

void ChromatogramPlot::resetView() {
    view_ = FullRange();
    update();
}

void ChromatogramPlot::render(QImage& image) const {
    QPainter painter(&image);
    Draw(painter, image.rect());
}

void ChromatogramPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, rect());
}

void ChromatogramPlot::Draw(QPainter& painter, const QRect& all) const {
    painter.fillRect(all, Qt::white);
    const QRect area = DrawingArea(all);
    if (area.width() < 2 || area.height() < 2)
        return;
    const Mapping m{view_, area};

    // Axes with their ticks.
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    const QFontMetrics metrics = painter.fontMetrics();
    const double tStep = TickStep(view_.width(), area.width() / 90);
    for (double t = std::ceil(view_.left() / tStep) * tStep; t <= view_.right(); t += tStep) {
        const int x = static_cast<int>(std::lround(m.X(t)));
        painter.drawLine(x, area.bottom(), x, area.bottom() + 4);
        const QString text = QString::fromStdString(talvex::FormatGeneral(t, 6));
        painter.drawText(x - metrics.horizontalAdvance(text) / 2, area.bottom() + 6 + metrics.ascent(), text);
    }
    const double vStep = TickStep(view_.height(), area.height() / 40);
    for (double v = std::ceil(view_.top() / vStep) * vStep; v <= view_.bottom(); v += vStep) {
        const int y = static_cast<int>(std::lround(m.Y(v)));
        painter.drawLine(area.left() - 4, y, area.left(), y);
        const QString text = QString::fromStdString(talvex::FormatGeneral(v, 5));
        painter.drawText(area.left() - 6 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2, text);
    }

    painter.save();
    painter.setClipRect(area);

    // The fraction windows behind everything else.
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        const PlotBand& band = bands_[i];
        const QRectF r(QPointF(m.X(band.start), area.top()), QPointF(m.X(band.end), area.bottom()));
        painter.fillRect(r, i % 2 ? QColor(255, 215, 140, 70) : QColor(140, 190, 255, 70));
        // A name is written only where the whole of it fits into its band.
        if (metrics.horizontalAdvance(band.name) + 4 <= r.width()) {
            painter.setPen(QColor(90, 90, 90));
            painter.drawText(r.adjusted(2, 2, -2, -2), Qt::AlignHCenter | Qt::AlignTop, band.name);
        }
    }

    // The signal: point by point when zoomed in, else as the extent of each pixel column.
    painter.setPen(QPen(QColor(20, 60, 160), 1));
    const double visibleSamples = view_.width() / step_;
    if (visibleSamples < 2.0 * area.width()) {
        QPainterPath path;
        const double k0 = std::max(0.0, std::floor((view_.left() - startTime_) / step_) - 1);
        const double k1 = std::min(static_cast<double>(samples_.size()) - 1,
                                   std::ceil((view_.right() - startTime_) / step_) + 1);
        for (double k = k0; k <= k1; ++k) {
            const QPointF p(m.X(startTime_ + k * step_), m.Y(samples_[static_cast<std::size_t>(k)]));
            if (k == k0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.drawPath(path);
    } else {
        const std::vector<ColumnExtent> columns = DecimateColumns(
            samples_.data(), samples_.size(), startTime_, step_, view_.left(), view_.right(), area.width());
        const ColumnExtent* previous = nullptr;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const ColumnExtent& e = columns[c];
            if (e.empty)
                continue;
            // Reach over to the previous column so that a steep flank stays one unbroken line.
            double lo = e.min, hi = e.max;
            if (previous) {
                lo = std::min<double>(lo, previous->max);
                hi = std::max<double>(hi, previous->min);
            }
            const int x = area.left() + static_cast<int>(c);
            painter.drawLine(QPointF(x, m.Y(lo)), QPointF(x, m.Y(hi)));
            previous = &e;
        }
    }

    // Peaks: the baseline between the bounds, short marks at the bounds, names above the apex.
    painter.setPen(QPen(QColor(200, 40, 40), 1));
    for (const Peak& p : peaks_) {
        if (p.end < view_.left() || p.begin > view_.right())
            continue;
        const QPointF a(m.X(p.begin), m.Y(p.baselineStart));
        const QPointF b(m.X(p.end), m.Y(p.baselineEnd));
        painter.drawLine(a, b);
        // Bound marks only where the peak is wide enough to tell them apart.
        if (b.x() - a.x() >= 6) {
            painter.drawLine(a + QPointF(0, -5), a + QPointF(0, 5));
            painter.drawLine(b + QPointF(0, -5), b + QPointF(0, 5));
        }
    }
    painter.setPen(QColor(30, 30, 30));
    double lastLabelX = -1e9; // a name that would overlap the previous one is left out
    // Peak names stay below the strip of the band names.
    const double labelTop = area.top() + 2 + (bands_.empty() ? 0 : metrics.height() + 2);
    for (const Peak& p : peaks_) {
        if (p.name.isEmpty() || p.apexTime < view_.left() || p.apexTime > view_.right() ||
            samples_.size() < 2)
            continue;
        const double k = std::clamp(std::round((p.apexTime - startTime_) / step_), 0.0,
                                    static_cast<double>(samples_.size() - 1));
        const double x = m.X(p.apexTime);
        if (std::abs(x - lastLabelX) < metrics.height())
            continue;
        lastLabelX = x;
        const double textWidth = metrics.horizontalAdvance(p.name);
        const double y =
            std::max<double>(m.Y(samples_[static_cast<std::size_t>(k)]) - 4, labelTop + textWidth);
        painter.save();
        painter.translate(x + metrics.ascent() / 2.0, y);
        painter.rotate(-90);
        painter.drawText(0, 0, p.name);
        painter.restore();
    }

    if (drag_ == Drag::Band) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(QColor(0, 0, 0, 25));
        painter.drawRect(QRectF(dragStart_, dragNow_).normalized());
    }
    painter.restore();
}

void ChromatogramPlot::wheelEvent(QWheelEvent* event) {
    const Mapping m{view_, DrawingArea(rect())};
    const double factor = std::pow(0.85, event->angleDelta().y() / 120.0);
    const QPointF pos = event->position();
    QRectF v = view_;
    if (event->modifiers() & Qt::ControlModifier) {
        const double center = m.V(pos.y());
        v.setTop(center - (center - v.top()) * factor);
        v.setBottom(center + (v.bottom() - center) * factor);
    } else {
        const double center = m.T(pos.x());
        v.setLeft(center - (center - v.left()) * factor);
        v.setRight(center + (v.right() - center) * factor);
    }
    setViewRange(v);
    event->accept();
}

void ChromatogramPlot::mousePressEvent(QMouseEvent* event) {
    const bool band = event->button() == Qt::RightButton ||
                      (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    if (band)
        drag_ = Drag::Band;
    else if (event->button() == Qt::LeftButton)
        drag_ = Drag::Pan;
    else
        return;
    dragStart_ = dragNow_ = event->position();
    dragView_ = view_;
    event->accept();
}

void ChromatogramPlot::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::None)
        return;
    dragNow_ = event->position();
    if (drag_ == Drag::Pan) {
        const QRect area = DrawingArea(rect());
        const QPointF d = dragNow_ - dragStart_;
        setViewRange(dragView_.translated(-d.x() / area.width() * dragView_.width(),
                                          d.y() / area.height() * dragView_.height()));
    } else {
        update();
    }
}

void ChromatogramPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ == Drag::Band) {
        const Mapping m{view_, DrawingArea(rect())};
        const QRectF r = QRectF(dragStart_, event->position()).normalized();
        // A click without a drag zooms nowhere.
        if (r.width() > 3 && r.height() > 3)
            view_ = QRectF(QPointF(m.T(r.left()), m.V(r.bottom())), QPointF(m.T(r.right()), m.V(r.top())));
    }
    drag_ = Drag::None;
    update();
}

void ChromatogramPlot::mouseDoubleClickEvent(QMouseEvent*) {
    resetView();
}

} // namespace talvex::gui
