#pragma once

#include "core/section7/gas_types.h"

#include <span>

namespace talvex {

class ComponentTable;
class RetentionTimeTable;
class MessageLog;

// Boiling temperature -> retention time, or the reverse.
enum class CalibrationDirection { ToRetentionTime = 0, ToBoilingPoint = 1 };

// Sorts the FID entries by retention time and builds the n-paraffin calibration from them; when the
// n-paraffins of the run stop before its last peak, the retention-time table extends the calibration
// with the n-paraffins eluting later. Reports a calibration that cannot cover the run, and one whose
// points do not rise in both retention time and boiling point.
void Calibrate(GasAnalysis& analysis, const ComponentTable& components, const RetentionTimeTable& table,
               MessageLog& log);

// Linear interpolation on the calibration points in list order; NotSet outside them. A single point
// answers only for its own value; two points of equal x give NotSet unless their y values are equal too.
double Interpolate(std::span<const CalibrationPoint> points, double c, CalibrationDirection direction);

} // namespace talvex
