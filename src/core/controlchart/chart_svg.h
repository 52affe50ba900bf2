#pragma once

#include "core/controlchart/chart_layout.h"

#include <string>

namespace talvex::controlchart {

// The laid-out chart as an SVG picture (UTF-8 text, 240 x 130 mm): lines labelled at their right end,
// a point where a signal is reported red, an excluded point open and grey, an imported point square,
// every point with its date, sample, q and signals in a <title>, phase boundaries dashed with their reason.
std::string ChartSvg(const ChartLayout& layout);

} // namespace talvex::controlchart
