#pragma once
// A control chart as a value: its series, lines, phases, points and the signals of the rules.
// Pure computation: the archive (or any ControlSource) supplies the observations and phase starts.

#include "core/controlchart/chart_lines.h"
#include "core/controlchart/control_observation.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace talvex::controlchart {

struct ChartPoint {
    ControlObservation observation;
    double q = 0.0;        // the reduced value; ОКП >= 0, ОКЭ signed
    std::size_t phase = 0; // 0 before the first recorded phase start, then 1, 2, ...
};

// An observation that gives no point, with the reason shown to the operator.
struct OmittedObservation {
    ControlObservation observation;
    std::string reason;
};

struct ChartPhase {
    PhaseStart start;
    std::size_t firstPoint = 0; // index of its first point; the number of points when it has none yet
};

struct Signal {
    int rule = 0;                    // 1 ... 6
    std::vector<std::size_t> points; // the points that form the pattern, ascending; the last one completes it
};

struct Chart {
    SeriesKey key;
    ChartLines lines;
    std::vector<ChartPhase> phases; // recorded phase starts in the order of time
    std::vector<ChartPoint> points; // in the order of the observations given
    std::vector<OmittedObservation> omitted;
    std::vector<Signal> ruleSignals; // in the order of the completing point, then of the rule
};

// The point value of one observation, or why it has none: a value missing, or no real norm range
// (limit missing or not positive). ОКП: difference / limit (the difference taken as its magnitude);
// ОКЭ: (measured - reference) / limit.
std::variant<double, std::string> ReduceObservation(const ControlObservation& observation);

// The chart of one series. `observations` in the order of time (ties in the order of archiving), as a
// ControlSource gives them; `phases` in the order of time. Observations of another series are taken as
// given: the caller asks the source for one series.
Chart BuildChart(const SeriesKey& key, const std::vector<ControlObservation>& observations,
                 const std::vector<PhaseStart>& phases);

// The signals of rules 1-6 over points whose `phase` and `q` are set. A run never crosses a phase
// boundary; excluded points take no part in the rules (the points on either side of one are consecutive).
std::vector<Signal> FindSignals(ControlKind kind, const ChartLines& lines,
                                const std::vector<ChartPoint>& points);

// Reads the chart of one series from the archive.
Chart QueryChart(ControlSource& source, const SeriesQuery& query);

} // namespace talvex::controlchart
