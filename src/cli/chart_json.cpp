#include "cli/chart_json.h"

#include "core/common/utc_time.h"
#include "core/results/json_writer.h"

namespace talvex::cli {

using namespace controlchart;

std::string ChartJson(const Chart& chart) {
    JsonWriter json;
    json.BeginObject();
    json.String("kind", chart.key.kind == ControlKind::Okp ? "okp" : "oke");
    json.String("medium", chart.key.medium == ControlMedium::Gas ? "gas" : "condensate");
    json.String("list", chart.key.list);
    json.String("component", chart.key.component);
    json.Number("centre", chart.lines.centre);
    json.BeginArray("warning");
    for (const double v : chart.lines.warning)
        json.Number({}, v);
    json.EndArray();
    json.BeginArray("action");
    for (const double v : chart.lines.action)
        json.Number({}, v);
    json.EndArray();
    json.BeginArray("phases");
    for (const ChartPhase& phase : chart.phases) {
        json.BeginObject();
        json.String("from", FormatUtcTime(phase.start.time));
        json.String("reason", phase.start.reason);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("points");
    for (const ChartPoint& point : chart.points) {
        const ControlObservation& o = point.observation;
        json.BeginObject();
        json.String("time", FormatUtcTime(o.time));
        json.String("sample", o.sample);
        json.Number("measured", o.measured);
        json.Number("reference", o.reference);
        json.Number("q", point.q);
        if (o.record.empty())
            json.Null("record");
        else
            json.String("record", o.record);
        json.Bool("imported", o.imported);
        json.Bool("excluded", o.excluded);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("signals");
    for (const Signal& signal : chart.ruleSignals) {
        json.BeginObject();
        json.Integer("rule", signal.rule);
        json.BeginArray("points");
        for (const std::size_t i : signal.points)
            json.Integer({}, static_cast<std::int64_t>(i));
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace talvex::cli
