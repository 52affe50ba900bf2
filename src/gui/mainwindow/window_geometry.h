#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace talvex {
class SettingsStore;
}

namespace talvex::gui {

// The main window's place as the profile keeps it between runs, in a section of its own.
inline constexpr const char* kWindowSection = "main_window";

struct WindowGeometry {
    std::optional<QPoint> position; // the frame's top-left corner
    QSize size;                     // the client size; invalid when none is kept
    bool maximized = false;
    std::vector<std::vector<int>> splitters; // each splitter's sizes, in the window's order
};

WindowGeometry LoadWindowGeometry(const SettingsStore& profile);
void SaveWindowGeometry(SettingsStore& profile, const WindowGeometry& geometry);

// Where the window opens on a screen whose free area is `available`. The smallest size is the layout's,
// lower where the screen is lower (every tab stays in sight, since only the width decides that); the
// opening size is the remembered one (else the layout's) within those bounds and the screen; the
// remembered position is moved so that the window stays on the screen.
QSize MinimumWindowSize(const QSize& layout, const QRect& available);
QSize OpeningWindowSize(const QSize& layout, const QSize& remembered, const QRect& available);
QPoint OpeningWindowPosition(const QPoint& remembered, const QSize& frame, const QRect& available);

} // namespace talvex::gui
