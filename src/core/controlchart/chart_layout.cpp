#include "core/controlchart/chart_layout.h"

#include "core/common/number_text.h"
#include "core/common/text_codec.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <utility>

namespace talvex::controlchart {
namespace {

constexpr double kLeft = 190, kRight = 370, kTop = 150, kBottom = 230;
constexpr double kLegendMark = 10; // the half width of a legend's mark

std::string LocalDate(std::int64_t seconds, bool withTime) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return {};
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, withTime ? "%d.%m.%Y %H:%M" : "%d.%m.%Y", &local);
    return std::string(text, n);
}

// A round step that gives about `wanted` intervals over `span`.
double NiceStep(double span, int wanted) {
    const double raw = span / wanted;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10.0 * magnitude;
}

std::string ValueText(double v, int decimals) {
    std::string text = FormatFixed(v, decimals);
    return text == "-0" || text.find_first_not_of("-0.") == std::string::npos ? FormatFixed(0.0, decimals)
                                                                              : text;
}

std::string LineLabel(LineRole role, double value) {
    const std::string number = (value > 0 && role != LineRole::Centre ? "+" : "") + FormatGeneral(value, 5);
    switch (role) {
    case LineRole::Centre:
        return "средняя " + number;
    case LineRole::Warning:
        return "предупреждения " + number;
    case LineRole::Action:
        return "действия " + number;
    case LineRole::HalfWarning:
        return number;
    }
    return number;
}

std::string MarkTitle(const Chart& chart, std::size_t index, const std::vector<int>& rules) {
    const ChartPoint& p = chart.points[index];
    std::string title = "№ " + std::to_string(index + 1) + ", " + LocalDate(p.observation.time, true);
    if (!p.observation.sample.empty())
        title += ", " + p.observation.sample;
    title += "\nq = " + FormatGeneral(p.q, 6);
    if (p.observation.imported)
        title += "\nимпортирована";
    if (p.observation.excluded)
        title += "\nисключена из правил: " + p.observation.exclusionReason;
    for (const int rule : rules)
        title += "\nсигнал, правило " + std::to_string(rule) + ": " + RuleText(chart.key.kind, rule);
    return title;
}

} // namespace

std::string RuleText(ControlKind kind, int rule) {
    const bool okp = kind == ControlKind::Okp;
    switch (rule) {
    case 1:
        return okp ? "точка выше границы действия" : "точка за границей действия";
    case 2:
        return okp ? "9 точек подряд выше средней линии" : "9 точек подряд по одну сторону от нуля";
    case 3:
        return okp ? "6 точек подряд, каждая выше предыдущей"
                   : "6 точек подряд, каждая выше (или каждая ниже) предыдущей";
    case 4:
        return okp ? "2 из 3 точек подряд выше предупреждающей границы"
                   : "2 из 3 точек подряд за одной предупреждающей границей";
    case 5:
        return okp ? "4 из 5 точек подряд выше середины между средней линией и предупреждающей границей"
                   : "4 из 5 точек подряд за одной линией ±0,5";
    case 6:
        return "8 точек подряд с |q| > 0,5 по обе стороны от нуля";
    default:
        return {};
    }
}

std::string SeriesTitle(const SeriesKey& key) {
    std::string title = key.kind == ControlKind::Okp ? "ОКП" : "ОКЭ";
    title += key.medium == ControlMedium::Gas ? ", газ" : ", конденсат";
    if (key.list == "component")
        title += ", компонентный состав";
    else if (key.list == "fractional")
        title += ", компонентно-фракционный состав";
    else if (!key.list.empty())
        title += ", метод " + key.list;
    return title + ": " + key.component;
}

ChartLayout LayOutChart(const Chart& chart) {
    ChartLayout out;
    const ControlKind kind = chart.key.kind;
    const bool okp = kind == ControlKind::Okp;
    out.left = kLeft;
    out.top = kTop;
    out.right = ChartLayout::kWidth - kRight;
    out.bottom = ChartLayout::kHeight - kBottom;
    out.title = "Контрольная карта " + SeriesTitle(chart.key);
    const std::size_t n = chart.points.size();
    if (n > 0)
        out.subtitle = LocalDate(chart.points.front().observation.time, false) + " – " +
                       LocalDate(chart.points.back().observation.time, false) +
                       ", точек: " + std::to_string(n) +
                       ", сигналов: " + std::to_string(chart.ruleSignals.size());
    out.xAxisTitle = "Дата анализа (по порядку контролей)";
    out.yAxisTitle = okp ? "Kk / K" : "(X − C) / K";

    // The value range: every line and every point, with a margin.
    double hi = chart.lines.action.empty() ? 1.0 : chart.lines.action.back();
    double lo = okp ? 0.0 : -hi;
    for (const ChartPoint& p : chart.points) {
        if (std::isfinite(p.q)) {
            hi = std::max(hi, p.q);
            lo = std::min(lo, p.q);
        }
    }
    const double margin = (hi - lo) * 0.08;
    out.yMax = hi + margin;
    out.yMin = okp && lo >= 0.0 ? 0.0 : lo - margin;
    const auto Y = [&](double v) {
        return out.bottom - (v - out.yMin) / (out.yMax - out.yMin) * (out.bottom - out.top);
    };
    const auto X = [&](std::size_t i) {
        return out.left + (static_cast<double>(i) + 0.5) / static_cast<double>(std::max<std::size_t>(n, 1)) *
                              (out.right - out.left);
    };

    const double step = NiceStep(out.yMax - out.yMin, 8);
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    for (double v = std::ceil(out.yMin / step) * step; v <= out.yMax + step * 1e-9; v += step)
        out.yTicks.push_back({Y(v), ValueText(v, decimals)});

    out.lines.push_back(
        {Y(chart.lines.centre), LineRole::Centre, LineLabel(LineRole::Centre, chart.lines.centre)});
    for (const double v : chart.lines.halfWarning)
        out.lines.push_back({Y(v), LineRole::HalfWarning, LineLabel(LineRole::HalfWarning, v)});
    for (const double v : chart.lines.warning)
        out.lines.push_back({Y(v), LineRole::Warning, LineLabel(LineRole::Warning, v)});
    for (const double v : chart.lines.action)
        out.lines.push_back({Y(v), LineRole::Action, LineLabel(LineRole::Action, v)});

    if (n == 0)
        out.emptyText = chart.omitted.empty()
                            ? "Нет точек за выбранный период"
                            : "Нет точек: ни у одного результата нет обоих значений и норматива";
    // About one date per 200 units of width, on points spread evenly.
    const std::size_t labels = std::min<std::size_t>(n, 9);
    for (std::size_t k = 0; k < labels; ++k) {
        const std::size_t i = labels == 1 ? 0 : k * (n - 1) / (labels - 1);
        out.xTicks.push_back({X(i), LocalDate(chart.points[i].observation.time, false)});
    }

    std::vector<std::vector<int>> rulesAt(n);
    for (const Signal& s : chart.ruleSignals)
        rulesAt[s.points.back()].push_back(s.rule);
    out.marks.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const ChartPoint& p = chart.points[i];
        LaidMark& mark = out.marks.emplace_back();
        mark.x = X(i);
        mark.y = Y(p.q);
        mark.imported = p.observation.imported;
        mark.style = p.observation.excluded ? MarkStyle::Excluded
                     : !rulesAt[i].empty()  ? MarkStyle::Signal
                                            : MarkStyle::Normal;
        mark.title = MarkTitle(chart, i, rulesAt[i]);
    }
    for (const ChartPhase& phase : chart.phases)
        if (phase.firstPoint > 0 && phase.firstPoint < n)
            out.phases.push_back({(X(phase.firstPoint - 1) + X(phase.firstPoint)) / 2, phase.start.reason});

    const std::pair<MarkStyle, const char*> legend[] = {{MarkStyle::Normal, "результат"},
                                                        {MarkStyle::Signal, "сигнал"},
                                                        {MarkStyle::Excluded, "исключена из правил"},
                                                        {MarkStyle::Normal, "импортирована"}};
    double x = out.left + kLegendMark;
    for (const auto& [style, text] : legend) {
        LegendEntry& e = out.legend.emplace_back();
        e.style = style;
        e.imported = &text == &legend[3].second;
        e.text = text;
        e.x = x;
        e.y = ChartLayout::kHeight - 55;
        e.textX = x + kLegendMark + 12;
        x = e.textX + 15.0 * static_cast<double>(CodePointCount(e.text)) + 50;
    }
    return out;
}

} // namespace talvex::controlchart
