#pragma once

#include <QIcon>

namespace talvex::gui {

// The program's icon, drawn at the sizes a window manager asks for. It matches talvex.svg, which the
// desktop file uses: a chromatogram trace with three peaks on a dark blue tile.
QIcon AppIcon();

} // namespace talvex::gui
