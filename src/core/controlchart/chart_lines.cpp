#include "core/controlchart/chart_lines.h"

#include <cmath>

namespace talvex::controlchart {

ChartLines LinesOf(ControlKind kind) {
    ChartLines lines;
    if (kind == ControlKind::Okp) {
        lines.centre = kOkpCentre;
        lines.warning = {kOkpWarning};
        lines.action = {kOkpAction};
        lines.halfWarning = {(kOkpCentre + kOkpWarning) / 2.0};
    } else {
        lines.centre = 0.0;
        lines.warning = {-kOkeWarning, kOkeWarning};
        lines.action = {-kOkeAction, kOkeAction};
        lines.halfWarning = {-kOkeWarning / 2.0, kOkeWarning / 2.0};
    }
    return lines;
}

bool Beyond(double value, double line, int sign) {
    if (std::fabs(value - line) <= kOnLineTolerance * std::fabs(line))
        return false;
    return sign > 0 ? value > line : value < line;
}

} // namespace talvex::controlchart
