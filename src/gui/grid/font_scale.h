#pragma once

#include <QFontMetrics>

namespace talvex::gui {

// The line height of the font the window and dialog layouts were designed with (a 9-point sans font).
inline constexpr int kDesignLineHeight = 14;

// How much larger than the design font a font is: the ratio of the line heights, never below 1, so that a
// layout of fixed rectangles and widths grows with a larger desktop font and keeps its design size
// otherwise.
double FontScale(const QFontMetrics& metrics);

// A design length (pixels) scaled for the font.
int Scaled(int designLength, const QFontMetrics& metrics);

} // namespace talvex::gui
