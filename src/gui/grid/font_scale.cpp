#include "gui/grid/font_scale.h"

#include <algorithm>
#include <cmath>

namespace talvex::gui {

double FontScale(const QFontMetrics& metrics) {
    return std::max(1.0, static_cast<double>(metrics.height()) / kDesignLineHeight);
}

int Scaled(int designLength, const QFontMetrics& metrics) {
    return static_cast<int>(std::lround(designLength * FontScale(metrics)));
}

} // namespace talvex::gui
