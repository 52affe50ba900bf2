#include "gui/browser/form_dialog.h"

#include "gui/grid/font_scale.h"

#include <QResizeEvent>

#include <cmath>

namespace talvex::gui {
namespace {

// The new start and extent of a control on one axis.
std::pair<int, int> ResizedSpan(int start, int extent, int initialClient, int delta, ResizeAction action) {
    switch (action) {
    case ResizeAction::Fixed:
        return {start, extent};
    case ResizeAction::Move:
        return {start + delta, extent};
    case ResizeAction::Grow:
        return {start, extent + delta};
    case ResizeAction::MoveShare:
        return {start + (initialClient > 0 ? delta * start / initialClient : 0), extent};
    case ResizeAction::MoveGrowShare:
        if (initialClient <= 0)
            return {start, extent};
        return {start + delta * start / initialClient, extent + delta * extent / initialClient};
    }
    return {start, extent};
}

} // namespace

QRect ResizedRect(const QRect& initial, const QSize& initialClient, const QSize& delta,
                  ResizeAction horizontal, ResizeAction vertical) {
    const auto [x, w] =
        ResizedSpan(initial.x(), initial.width(), initialClient.width(), delta.width(), horizontal);
    const auto [y, h] =
        ResizedSpan(initial.y(), initial.height(), initialClient.height(), delta.height(), vertical);
    return QRect(x, y, w, h);
}

CFormDialog::CFormDialog(QWidget* parent) : QDialog(parent) {}

void CFormDialog::SetInitialSize(const QSize& size) {
    // The controls were placed for the design font: with a larger font every rectangle grows by the same
    // ratio, so that no text is clipped and the resize rules apply to the scaled layout.
    const double scale = FontScale(fontMetrics());
    const auto scaled = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    if (scale > 1.0)
        for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect r = control->geometry();
            control->setGeometry(scaled(r.x()), scaled(r.y()), scaled(r.width()), scaled(r.height()));
        }
    initialSize_ = QSize(scaled(size.width()), scaled(size.height()));
    setMinimumSize(initialSize_);
    resize(initialSize_);
}

void CFormDialog::SetResizeRule(QWidget* control, ResizeAction horizontal, ResizeAction vertical) {
    rules_[control] = Rule{control->geometry(), horizontal, vertical};
}

void CFormDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!initialSize_.isValid() || isMinimized())
        return;
    // The window manager may offer less than the minimum; the controls never go below their first places.
    const QSize delta = size().expandedTo(initialSize_) - initialSize_;
    for (const auto& [control, rule] : rules_)
        control->setGeometry(ResizedRect(rule.initial, initialSize_, delta, rule.horizontal, rule.vertical));
}

} // namespace talvex::gui
