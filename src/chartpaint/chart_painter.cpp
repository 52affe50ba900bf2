#include "chartpaint/chart_painter.h"

#include "core/controlchart/chart_style.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

namespace talvex::chartpaint {

using namespace controlchart;

namespace {

struct Frame {
    double scale = 1, dx = 0, dy = 0;
};

Frame FrameOf(const QRectF& target) {
    Frame f;
    f.scale = std::min(target.width() / ChartLayout::kWidth, target.height() / ChartLayout::kHeight);
    f.dx = target.left() + (target.width() - ChartLayout::kWidth * f.scale) / 2;
    f.dy = target.top() + (target.height() - ChartLayout::kHeight * f.scale) / 2;
    return f;
}

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont FontOf(double size, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(size)));
    font.setBold(bold);
    return font;
}

enum class Anchor { Start, Middle, End };

// `y` is the baseline, as in the SVG picture.
void DrawText(QPainter& p, double x, double y, const std::string& text, Anchor anchor) {
    const QString s = Q(text);
    const double width = QFontMetricsF(p.font()).horizontalAdvance(s);
    const double left = anchor == Anchor::Start ? x : anchor == Anchor::Middle ? x - width / 2 : x - width;
    p.drawText(QPointF(left, y), s);
}

QPen PenOf(const LineStyle& style) {
    QPen pen{QColor(style.colour), style.width};
    pen.setCapStyle(Qt::FlatCap);
    if (style.dash > 0)
        pen.setDashPattern({style.dash / style.width, style.dash * 0.6 / style.width});
    return pen;
}

void DrawMark(QPainter& p, double x, double y, MarkStyle style, bool imported) {
    const QColor fill = style == MarkStyle::Excluded ? QColor(Qt::white) : QColor(FillOf(style));
    const QColor stroke = style == MarkStyle::Excluded ? QColor(kExcludedStroke) : fill;
    p.setPen(QPen(stroke, 2.5));
    p.setBrush(fill);
    if (imported) {
        const double r = kMarkRadius * 0.9;
        p.drawRect(QRectF(x - r, y - r, 2 * r, 2 * r));
    } else {
        p.drawEllipse(QPointF(x, y), kMarkRadius, kMarkRadius);
    }
}

// On a raster device every mark of a style is the same picture: drawn once at the device's scale and
// copied to each place, which keeps a chart of thousands of points fast.
class MarkSprites {
public:
    explicit MarkSprites(double scale) : scale_(scale), half_(std::ceil((kMarkRadius + 2.5) * scale) + 1) {}

    void Draw(QPainter& p, const Frame& f, const LaidMark& m) {
        const QImage& sprite = Sprite(m.style, m.imported);
        p.drawImage(QPointF(f.dx + m.x * f.scale - half_, f.dy + m.y * f.scale - half_), sprite);
    }

private:
    const QImage& Sprite(MarkStyle style, bool imported) {
        QImage& image = sprites_[static_cast<int>(style) * 2 + (imported ? 1 : 0)];
        if (image.isNull()) {
            const int side = static_cast<int>(2 * half_);
            image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter sp(&image);
            sp.setRenderHint(QPainter::Antialiasing);
            sp.translate(half_, half_);
            sp.scale(scale_, scale_);
            DrawMark(sp, 0, 0, style, imported);
        }
        return image;
    }

    double scale_;
    double half_;
    QImage sprites_[6];
};

} // namespace

void PaintChart(QPainter& p, const ChartLayout& l, const QRectF& target) {
    const Frame f = FrameOf(target);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(f.dx, f.dy);
    p.scale(f.scale, f.scale);
    p.fillRect(QRectF(0, 0, ChartLayout::kWidth, ChartLayout::kHeight), Qt::white);

    p.setPen(Qt::black);
    p.setFont(FontOf(kTitleFontSize, true));
    DrawText(p, l.left, 50, l.title, Anchor::Start);
    p.setFont(FontOf(kFontSize));
    if (!l.subtitle.empty()) {
        p.setPen(QColor("#424242"));
        DrawText(p, l.left, 92, l.subtitle, Anchor::Start);
    }

    for (const LaidTick& t : l.yTicks) {
        p.setPen(QPen(QColor("#e0e0e0"), 1.5));
        p.drawLine(QPointF(l.left, t.at), QPointF(l.right, t.at));
        p.setPen(Qt::black);
        DrawText(p, l.left - 12, t.at + 9, t.label, Anchor::End);
    }
    for (const LaidTick& t : l.xTicks) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(t.at, l.bottom), QPointF(t.at, l.bottom + 10));
        DrawText(p, t.at, l.bottom + 40, t.label, Anchor::Middle);
    }
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(l.left, l.top), QPointF(l.right, l.bottom)));
    DrawText(p, (l.left + l.right) / 2, l.bottom + 85, l.xAxisTitle, Anchor::Middle);
    p.save();
    p.translate(55, (l.top + l.bottom) / 2);
    p.rotate(-90);
    DrawText(p, 0, 0, l.yAxisTitle, Anchor::Middle);
    p.restore();

    p.save();
    p.setClipRect(QRectF(QPointF(l.left, l.top), QPointF(l.right, l.bottom)));
    for (const LaidLine& line : l.lines) {
        p.setPen(PenOf(StyleOf(line.role)));
        p.drawLine(QPointF(l.left, line.y), QPointF(l.right, line.y));
    }
    p.restore();
    for (const LaidLine& line : l.lines) {
        p.setPen(QColor(StyleOf(line.role).colour));
        DrawText(p, l.right + 10, line.y + 9, line.label, Anchor::Start);
    }
    p.setFont(FontOf(22));
    for (const LaidPhase& phase : l.phases) {
        QPen pen(QColor(kPhaseColour), 3);
        pen.setDashPattern({14.0 / 3, 8.0 / 3});
        p.setPen(pen);
        p.drawLine(QPointF(phase.x, l.top), QPointF(phase.x, l.bottom));
        p.setPen(QColor(kPhaseColour));
        DrawText(p, phase.x + 8, l.top + 30, phase.label, Anchor::Start);
    }
    p.setFont(FontOf(kFontSize));

    // The trace joins the points of each phase: separate segments, which the raster engine strokes far
    // faster than one long polyline.
    p.setPen(QPen(QColor(kTraceColour), 2));
    p.setBrush(Qt::NoBrush);
    std::vector<QLineF> trace;
    trace.reserve(l.marks.size());
    std::size_t next = 0;
    for (std::size_t i = 1; i < l.marks.size(); ++i) {
        const LaidMark& a = l.marks[i - 1];
        const LaidMark& b = l.marks[i];
        if (next < l.phases.size() && b.x > l.phases[next].x) {
            ++next;
            continue;
        }
        trace.emplace_back(a.x, a.y, b.x, b.y);
    }
    p.drawLines(trace.data(), static_cast<int>(trace.size()));
    if (p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster) {
        MarkSprites sprites(f.scale);
        p.save();
        p.resetTransform();
        for (const LaidMark& m : l.marks)
            sprites.Draw(p, f, m);
        p.restore();
    } else {
        for (const LaidMark& m : l.marks)
            DrawMark(p, m.x, m.y, m.style, m.imported);
    }
    if (!l.emptyText.empty()) {
        p.setPen(QColor("#616161"));
        DrawText(p, (l.left + l.right) / 2, (l.top + l.bottom) / 2, l.emptyText, Anchor::Middle);
    }
    for (const LegendEntry& e : l.legend) {
        DrawMark(p, e.x, e.y, e.style, e.imported);
        p.setPen(Qt::black);
        DrawText(p, e.textX, e.y + 9, e.text, Anchor::Start);
    }
    p.restore();
}

int MarkAt(const ChartLayout& layout, const QRectF& target, const QPointF& position) {
    const Frame f = FrameOf(target);
    const double x = (position.x() - f.dx) / f.scale, y = (position.y() - f.dy) / f.scale;
    int best = -1;
    double bestDistance = kMarkRadius * 1.5;
    for (std::size_t i = 0; i < layout.marks.size(); ++i) {
        const double d = std::hypot(layout.marks[i].x - x, layout.marks[i].y - y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace talvex::chartpaint
