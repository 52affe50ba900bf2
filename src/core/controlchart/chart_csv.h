#pragma once

#include "core/controlchart/control_chart.h"

#include <string>

namespace talvex::controlchart {

// The chart's points as a spreadsheet reads them: UTF-8, ";" between cells, CR LF after each row, a
// header row, then one row per point: number, time (ISO 8601 UTC), sample, measured, reference, q
// (shortest exact form, decimal point), phase, record, imported and excluded ("да"/"нет"), the
// exclusion's reason and the rules of the signals reported at the point ("2 4"). A cell holding ";",
// a quote or a line break is quoted, its quotes doubled.
std::string ChartCsv(const Chart& chart);

} // namespace talvex::controlchart
