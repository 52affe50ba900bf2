#pragma once
// The fixed lines of the two control charts. Every point is reduced to the operational limit of its
// own norm range, so the lines stay where they are when the range changes with the concentration.

#include "core/controlchart/control_observation.h"

#include <vector>

namespace talvex::controlchart {

struct ChartLines {
    double centre = 0.0;
    std::vector<double> warning;     // ascending: one line for the one-sided chart, two for the signed one
    std::vector<double> action;      // ascending, as `warning`
    std::vector<double> halfWarning; // halfway between the centre and each warning line (rule 5)
};

// ОКП: the difference of two results over K = 0.84 R, where the laboratory's intermediate-precision
// limit is 2.77 sigma: the lines of a difference chart (d2 = 1.128 sigma, 2.834 sigma, 3.686 sigma)
// divided by 2.77. ОКЭ: the signed deviation over the accuracy limit; that limit is the warning line
// and 1.5 times it the action line.
inline constexpr double kOkpCentre = 0.4072;
inline constexpr double kOkpWarning = 1.0231;
inline constexpr double kOkpAction = 1.3307;
inline constexpr double kOkeWarning = 1.0;
inline constexpr double kOkeAction = 1.5;

ChartLines LinesOf(ControlKind kind);

// A value within this share of a line's own value lies on the line: neither above nor below it.
inline constexpr double kOnLineTolerance = 1e-9;

// Strictly above (`sign` +1) or strictly below (`sign` -1) the line, a value on the line being neither.
bool Beyond(double value, double line, int sign);

} // namespace talvex::controlchart
