#pragma once

#include <QRect>
#include <QSize>

namespace talvex::gui {

// Where the main window's controls stand. The window is laid out once at its initial size; a resize
// moves them by fixed rules: the buttons of the right column keep their distance to the right edge, the
// list takes the whole width change and a quarter of the height change, the tab control moves down by
// that quarter and takes the rest of the height change.
struct MainWindowLayout {
    QSize size;
    QRect list;
    QRect tabs;
    QRect rightColumn; // the right-hand buttons, beside the list

    // The same layout at another window size.
    MainWindowLayout Resized(QSize newSize) const;
};

} // namespace talvex::gui
