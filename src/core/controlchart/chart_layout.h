#pragma once
// A chart laid out for drawing: every text, line and mark with its place in a drawing of kWidth x
// kHeight units of 0.1 mm. The SVG writer serialises it; the painter of the desktop program and of the
// PNG and PDF files draws it with QPainter, so both show the same chart.

#include "core/controlchart/control_chart.h"

#include <string>
#include <vector>

namespace talvex::controlchart {

enum class LineRole { Centre, Warning, Action, HalfWarning };

enum class MarkStyle {
    Normal,   // a filled blue circle
    Signal,   // a filled red circle: a signal is reported at this point
    Excluded, // an open grey circle: out of the rules, kept on the chart
};

struct LaidLine {
    double y = 0;
    LineRole role = LineRole::Centre;
    std::string label; // e.g. "ПД +1" at the right end
};

struct LaidTick {
    double at = 0; // x for the time axis, y for the value axis
    std::string label;
};

struct LaidMark {
    double x = 0, y = 0;
    MarkStyle style = MarkStyle::Normal;
    bool imported = false; // drawn as a square instead of a circle
    std::string title;     // what a tooltip shows: date, sample, q, signals, exclusion
};

struct LaidPhase {
    double x = 0;
    std::string label;
};

struct LegendEntry {
    double x = 0, y = 0; // the mark's centre; the text follows to its right at textX
    double textX = 0;
    MarkStyle style = MarkStyle::Normal;
    bool imported = false;
    std::string text;
};

struct ChartLayout {
    static constexpr double kWidth = 2400, kHeight = 1300;
    double left = 0, top = 0, right = 0, bottom = 0; // the plot area
    double yMin = 0, yMax = 0;                       // the value range shown
    std::string title, subtitle, xAxisTitle, yAxisTitle;
    std::vector<LaidTick> xTicks, yTicks;
    std::vector<LaidLine> lines;
    std::vector<LaidPhase> phases;
    std::vector<LaidMark> marks; // one per chart point, in order
    std::vector<LegendEntry> legend;
    std::string emptyText; // instead of marks when the chart has no point
};

// The words of a rule for the operator, e.g. "9 точек подряд выше средней линии".
std::string RuleText(ControlKind kind, int rule);

// The series in words: "ОКП, газ, компонентный состав: Метан".
std::string SeriesTitle(const SeriesKey& key);

// Lays out the chart; dates are shown in local time (the TZ of the process).
ChartLayout LayOutChart(const Chart& chart);

} // namespace talvex::controlchart
