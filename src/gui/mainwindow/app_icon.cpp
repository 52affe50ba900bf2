#include "gui/mainwindow/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace talvex::gui {
namespace {

// Drawn on a 64 x 64 grid, scaled to the pixmap.
QPixmap IconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x3b, 0x5c));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    painter.setPen(QPen(QColor(0x6b, 0x86, 0xa3), 2));
    painter.drawLine(QPointF(10, 52), QPointF(54, 52));
    QPainterPath trace;
    trace.moveTo(10, 50);
    trace.lineTo(16, 50);
    trace.cubicTo(19, 50, 19, 18, 22, 18);
    trace.cubicTo(25, 18, 25, 50, 28, 50);
    trace.cubicTo(31, 50, 31, 32, 34, 32);
    trace.cubicTo(37, 32, 37, 50, 40, 50);
    trace.cubicTo(43, 50, 43, 10, 46, 10);
    trace.cubicTo(49, 10, 49, 50, 52, 50);
    trace.lineTo(54, 50);
    painter.setPen(QPen(QColor(0xf2, 0xb1, 0x34), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trace);
    return pixmap;
}

} // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(IconPixmap(size));
    return icon;
}

} // namespace talvex::gui
