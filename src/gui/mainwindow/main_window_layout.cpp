#include "gui/mainwindow/main_window_layout.h"

namespace talvex::gui {

MainWindowLayout MainWindowLayout::Resized(QSize newSize) const {
    const int dw = newSize.width() - size.width();
    const int dh = newSize.height() - size.height();
    const int quarter = dh / 4;
    MainWindowLayout out = *this;
    out.size = newSize;
    out.list.setSize(QSize(list.width() + dw, list.height() + quarter));
    out.tabs = QRect(tabs.x(), tabs.y() + quarter, tabs.width() + dw, tabs.height() + dh - quarter);
    out.rightColumn.moveLeft(rightColumn.x() + dw);
    return out;
}

} // namespace talvex::gui
