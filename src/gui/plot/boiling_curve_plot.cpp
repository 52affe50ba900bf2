#include "gui/plot/boiling_curve_plot.h"

#include "core/common/number_text.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace talvex::gui {
namespace {

// The colours of the report's picture, so that the screen and the paper agree.
const QColor kCondensateColour(0x1f, 0x4e, 0x8c);
const QColor kAnalysisColour(0x7a, 0x9c, 0xc6);
const QColor kNlhColour(0xc0, 0x39, 0x2b);
const QColor kGridColour(0xd0, 0xd7, 0xde);

// °C between the vertical grid lines: 50, or 100 over a wide range.
double TempStep(double tMin, double tMax) {
    return tMax - tMin > 500.0 ? 100.0 : 50.0;
}

struct Mapping {
    double tMin, tMax;
    QRect area;
    double X(double t) const { return area.left() + (t - tMin) / (tMax - tMin) * area.width(); }
    double Y(double c) const { return area.bottom() - c / 100.0 * area.height(); }
};

QString Number(double value, int decimals) {
    return QString::fromStdString(talvex::FormatFixed(value, decimals));
}

void DrawCurve(QPainter& painter, const Mapping& m, const talvex::BoilingCurve& curve, const QColor& colour,
               qreal width) {
    if (curve.points.empty())
        return;
    QPainterPath path;
    path.moveTo(m.X(curve.points.front().first), m.Y(curve.points.front().second));
    for (const auto& [t, c] : curve.points)
        path.lineTo(m.X(t), m.Y(c));
    // The cumulative share stays at its last value to the right edge.
    path.lineTo(m.X(m.tMax), m.Y(curve.points.back().second));
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

} // namespace

BoilingCurvePlot::BoilingCurvePlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

void BoilingCurvePlot::setCurves(talvex::CompositionCurves condensate, talvex::CompositionCurves nlh) {
    condensate_ = std::move(condensate);
    nlh_ = std::move(nlh);
    std::vector<const talvex::BoilingCurve*> all;
    if (condensate_.result)
        all.push_back(&*condensate_.result);
    for (const talvex::BoilingCurve& c : condensate_.analyses)
        all.push_back(&c);
    if (nlh_.result)
        all.push_back(&*nlh_.result);
    tMin_ = 0.0;
    tMax_ = 100.0;
    bool first = true;
    for (const talvex::BoilingCurve* c : all) {
        if (c->points.empty())
            continue;
        const double lo = c->points.front().first;
        const double hi = c->points.back().first;
        tMin_ = first ? lo : std::min(tMin_, lo);
        tMax_ = first ? hi : std::max(tMax_, hi);
        first = false;
    }
    if (!first) {
        const double step = TempStep(tMin_, tMax_);
        tMin_ = std::floor(tMin_ / step) * step;
        tMax_ = std::max(tMin_ + step, std::ceil(tMax_ / step) * step);
    }
    hover_.reset();
    update();
}

QRect BoilingCurvePlot::DrawingArea(const QRect& all) const {
    // Room for the labels, in the widget's own font.
    const QFontMetrics fm = fontMetrics();
    const int left = fm.height() + fm.horizontalAdvance(QStringLiteral("100")) + fm.averageCharWidth() * 2;
    const int bottom = 2 * fm.height() + fm.height() / 2;
    const int right = fm.horizontalAdvance(QStringLiteral("000")) / 2 + 6;
    return all.adjusted(left, fm.height() / 2 + 4, -right, -bottom);
}

std::optional<double> BoilingCurvePlot::tempAt(const QPoint& pos) const {
    const QRect area = DrawingArea(rect());
    if (area.width() < 2 || !area.contains(pos) || !(condensate_.result || nlh_.result))
        return std::nullopt;
    return tMin_ + (pos.x() - area.left()) / static_cast<double>(area.width()) * (tMax_ - tMin_);
}

QString BoilingCurvePlot::hoverText(double temp) const {
    QString text = QStringLiteral("T = %1 °C").arg(Number(temp, 1));
    if (condensate_.result)
        text += QStringLiteral("   ДК: %1 %").arg(Number(talvex::CurveShareAt(*condensate_.result, temp), 1));
    if (nlh_.result)
        text += QStringLiteral("   НЖУ: %1 %").arg(Number(talvex::CurveShareAt(*nlh_.result, temp), 1));
    return text;
}

void BoilingCurvePlot::render(QImage& image) const {
    QPainter painter(&image);
    painter.setFont(font());
    Draw(painter, image.rect());
}

void BoilingCurvePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, rect());
}

void BoilingCurvePlot::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<double> temp = tempAt(event->position().toPoint());
    if (temp != hover_) {
        hover_ = temp;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void BoilingCurvePlot::leaveEvent(QEvent* event) {
    hover_.reset();
    update();
    QWidget::leaveEvent(event);
}

void BoilingCurvePlot::Draw(QPainter& painter, const QRect& all) const {
    painter.fillRect(all, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRect area = DrawingArea(all);
    if (area.width() < 2 || area.height() < 2)
        return;
    const Mapping m{tMin_, tMax_, area};
    const QFontMetrics fm = painter.fontMetrics();
    const double tempStep = TempStep(tMin_, tMax_);

    // The grid: every 10 % up, every 50 °C across, with their labels.
    painter.setPen(QPen(kGridColour, 1));
    for (int c = 0; c <= 100; c += 10)
        painter.drawLine(QPointF(area.left(), m.Y(c)), QPointF(area.right(), m.Y(c)));
    for (double t = tMin_; t <= tMax_ + 1e-9; t += tempStep)
        painter.drawLine(QPointF(m.X(t), area.top()), QPointF(m.X(t), area.bottom()));
    painter.setPen(QColor(60, 60, 60));
    const int gap = fm.averageCharWidth();
    for (int c = 0; c <= 100; c += 20) {
        const QString label = QString::number(c);
        painter.drawText(
            QPointF(area.left() - gap - fm.horizontalAdvance(label), m.Y(c) + fm.ascent() / 2.0 - 1), label);
    }
    for (double t = tMin_; t <= tMax_ + 1e-9; t += tempStep) {
        const QString label = Number(t, 0);
        painter.drawText(QPointF(m.X(t) - fm.horizontalAdvance(label) / 2.0, area.bottom() + fm.height()),
                         label);
    }
    const QString across = QStringLiteral("Температура, °C");
    painter.drawText(
        QPointF(area.center().x() - fm.horizontalAdvance(across) / 2.0, area.bottom() + 2 * fm.height() + 2),
        across);
    const QString up = QStringLiteral("% отгона");
    painter.save();
    painter.translate(all.left() + fm.ascent(), area.center().y() + fm.horizontalAdvance(up) / 2.0);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), up);
    painter.restore();
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));

    painter.save();
    painter.setClipRect(area.adjusted(-2, -2, 2, 2));
    for (const talvex::BoilingCurve& c : condensate_.analyses)
        DrawCurve(painter, m, c, kAnalysisColour, 1.0);
    if (condensate_.result)
        DrawCurve(painter, m, *condensate_.result, kCondensateColour, 3.0);
    if (nlh_.result)
        DrawCurve(painter, m, *nlh_.result, kNlhColour, 2.0);
    painter.restore();

    // The legend, and the reasons where a curve is missing.
    const int lineLength = 3 * fm.averageCharWidth() + 8;
    qreal y = area.top() + fm.height();
    const qreal x = area.left() + fm.averageCharWidth() * 2;
    const auto legend = [&](const QColor& colour, qreal width, const QString& text) {
        painter.setPen(QPen(colour, width));
        painter.drawLine(QPointF(x, y - fm.ascent() / 2.0 + 1),
                         QPointF(x + lineLength, y - fm.ascent() / 2.0 + 1));
        painter.setPen(QColor(30, 30, 30));
        painter.drawText(QPointF(x + lineLength + gap, y), text);
        y += fm.height() + 2;
    };
    if (condensate_.result)
        legend(kCondensateColour, 3.0, QStringLiteral("ДК, результат (метод A)"));
    if (!condensate_.analyses.empty())
        legend(kAnalysisColour, 1.0, QStringLiteral("ДК, анализы"));
    if (nlh_.result)
        legend(kNlhColour, 2.0, QStringLiteral("НЖУ"));
    painter.setPen(QColor(85, 85, 85));
    for (const std::string* reason : {&condensate_.reason, &nlh_.reason})
        if (!reason->empty()) {
            const QString text = QString::fromStdString(*reason);
            const QRectF box(x, y - fm.ascent(), area.right() - x - gap, area.bottom() - y);
            QRectF used;
            painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text, &used);
            y += used.height() + 2;
        }

    // The hover line and its values.
    if (hover_) {
        const double xh = m.X(*hover_);
        painter.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
        painter.drawLine(QPointF(xh, area.top()), QPointF(xh, area.bottom()));
        const QString text = hoverText(*hover_);
        const int w = fm.horizontalAdvance(text) + 2 * gap;
        const int h = fm.height() + 4;
        int left = static_cast<int>(xh) + gap;
        if (left + w > area.right())
            left = static_cast<int>(xh) - gap - w;
        const QRect box(std::max(area.left() + 1, left), area.bottom() - h - gap, w, h);
        painter.setPen(QColor(120, 120, 120));
        painter.setBrush(QColor(255, 255, 225));
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

} // namespace talvex::gui
