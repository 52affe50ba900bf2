#pragma once

#include "core/controlchart/control_chart.h"

#include <string>

namespace talvex::cli {

// The chart as one JSON object: kind ("okp"/"oke"), medium ("gas"/"condensate"), list, component, the
// lines, the recorded phases, the points (times ISO 8601 UTC, numbers in full precision, a missing number
// null, record null for an imported point) and the signals with the indexes of their points.
std::string ChartJson(const controlchart::Chart& chart);

} // namespace talvex::cli
