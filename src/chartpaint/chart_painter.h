#pragma once
// Draws a laid-out control chart with QPainter: the desktop program's chart window paints it into its
// widget, the CLI into a PNG or a PDF, through the same code.

#include "core/controlchart/chart_layout.h"

#include <QRectF>

class QPainter;

// The library shows only these functions and its C entry points; the desktop program links it.
#define TALVEX_CHARTPAINT_EXPORT __attribute__((visibility("default")))

namespace talvex::chartpaint {

// Paints the whole chart into `target` (device coordinates), scaled uniformly from the layout's units
// and centred. The painter's state is restored afterwards.
TALVEX_CHARTPAINT_EXPORT void PaintChart(QPainter& painter, const controlchart::ChartLayout& layout,
                                         const QRectF& target);

// The layout point nearest to `position` (device coordinates of the same `target`) within the radius of
// a mark, for tooltips; -1 when there is none.
TALVEX_CHARTPAINT_EXPORT int MarkAt(const controlchart::ChartLayout& layout, const QRectF& target,
                                    const QPointF& position);

} // namespace talvex::chartpaint
