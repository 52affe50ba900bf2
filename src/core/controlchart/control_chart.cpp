#include "core/controlchart/control_chart.h"

#include "core/common/not_set.h"

#include <algorithm>
#include <cmath>

namespace talvex::controlchart {
namespace {

// The archive gives NaN for a missing number; the program's own marker and infinities count as missing
// too, so that no sentinel ever becomes a point.
bool Missing(double value) {
    return IsNotSet(value) || !std::isfinite(value);
}

} // namespace

std::variant<double, std::string> ReduceObservation(const ControlObservation& observation) {
    const bool okp = observation.key.kind == ControlKind::Okp;
    if (Missing(observation.measured))
        return std::string(okp ? "нет результата контрольной пробы" : "нет результата измерения образца");
    if (Missing(observation.reference))
        return std::string(okp ? "нет результата первого анализа" : "нет аттестованного значения");
    if (Missing(observation.limit) || !(observation.limit > 0.0))
        return std::string("нет диапазона нормы для значения (норматив не определен)");
    // ОКП: the difference as the calculation stored it; recomputed only when it was not stored.
    const double q = !okp ? (observation.measured - observation.reference) / observation.limit
                     : Missing(observation.difference)
                         ? std::fabs(observation.measured - observation.reference) / observation.limit
                         : std::fabs(observation.difference) / observation.limit;
    if (!std::isfinite(q))
        return std::string("норматив слишком мал: значение не представимо");
    return q;
}

Chart BuildChart(const SeriesKey& key, const std::vector<ControlObservation>& observations,
                 const std::vector<PhaseStart>& phases) {
    Chart chart;
    chart.key = key;
    chart.lines = LinesOf(key.kind);
    for (const PhaseStart& start : phases)
        chart.phases.push_back({start, 0});
    std::stable_sort(chart.phases.begin(), chart.phases.end(),
                     [](const ChartPhase& a, const ChartPhase& b) { return a.start.time < b.start.time; });
    for (const ControlObservation& observation : observations) {
        auto reduced = ReduceObservation(observation);
        if (auto* reason = std::get_if<std::string>(&reduced)) {
            chart.omitted.push_back({observation, std::move(*reason)});
            continue;
        }
        ChartPoint& point = chart.points.emplace_back();
        point.observation = observation;
        point.q = std::get<double>(reduced);
        point.phase = 0;
        for (const ChartPhase& phase : chart.phases)
            if (phase.start.time <= observation.time)
                ++point.phase;
    }
    for (std::size_t p = 0; p < chart.phases.size(); ++p) {
        std::size_t first = 0;
        while (first < chart.points.size() && chart.points[first].phase <= p)
            ++first;
        chart.phases[p].firstPoint = first;
    }
    chart.ruleSignals = FindSignals(key.kind, chart.lines, chart.points);
    return chart;
}

Chart QueryChart(ControlSource& source, const SeriesQuery& query) {
    return BuildChart(query.key, source.Observations(query), source.Phases(query.key));
}

} // namespace talvex::controlchart
