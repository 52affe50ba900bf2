#include "core/controlchart/chart_csv.h"

#include "core/common/utc_time.h"

#include <charconv>
#include <cmath>

namespace talvex::controlchart {
namespace {

std::string Number(double value) {
    if (!std::isfinite(value))
        return {};
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

std::string Cell(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string ChartCsv(const Chart& chart) {
    std::vector<std::string> rules(chart.points.size());
    for (const Signal& s : chart.ruleSignals) {
        std::string& cell = rules[s.points.back()];
        cell += (cell.empty() ? "" : " ") + std::to_string(s.rule);
    }
    std::string csv =
        "№;время;проба;измерено;опорное;q;этап;запись;импорт;исключена;причина исключения;сигналы\r\n";
    for (std::size_t i = 0; i < chart.points.size(); ++i) {
        const ChartPoint& p = chart.points[i];
        const ControlObservation& o = p.observation;
        csv += std::to_string(i + 1) + ';' + FormatUtcTime(o.time) + ';' + Cell(o.sample) + ';' +
               Number(o.measured) + ';' + Number(o.reference) + ';' + Number(p.q) + ';' +
               std::to_string(p.phase) + ';' + Cell(o.record) + ';' + (o.imported ? "да" : "нет") + ';' +
               (o.excluded ? "да" : "нет") + ';' + Cell(o.exclusionReason) + ';' + rules[i] + "\r\n";
    }
    return csv;
}

} // namespace talvex::controlchart
