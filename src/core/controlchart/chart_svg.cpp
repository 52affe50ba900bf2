#include "core/controlchart/chart_svg.h"

#include "core/common/number_text.h"
#include "core/common/xml_text.h"
#include "core/controlchart/chart_style.h"

namespace talvex::controlchart {
namespace {

std::string Num(double value) {
    return FormatFixed(value, 1);
}

std::string Text(double x, double y, std::string_view text, const char* anchor,
                 const std::string& extra = {}) {
    return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" text-anchor=\"" + anchor + "\"" + extra + ">" +
           XmlEscape(text) + "</text>\n";
}

std::string HLine(double x1, double x2, double y, const LineStyle& style) {
    std::string s = "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
                    Num(y) + "\" stroke=\"" + style.colour + "\" stroke-width=\"" + Num(style.width) + "\"";
    if (style.dash > 0)
        s += " stroke-dasharray=\"" + Num(style.dash) + " " + Num(style.dash * 0.6) + "\"";
    return s + "/>\n";
}

std::string Mark(double x, double y, MarkStyle style, bool imported, const std::string& title) {
    const std::string fill = FillOf(style);
    const std::string stroke = style == MarkStyle::Excluded ? kExcludedStroke : fill;
    const std::string paint = " fill=\"" + fill + "\" stroke=\"" + stroke + "\" stroke-width=\"2.5\"";
    std::string shape;
    if (imported) {
        const double r = kMarkRadius * 0.9;
        shape = "<rect x=\"" + Num(x - r) + "\" y=\"" + Num(y - r) + "\" width=\"" + Num(2 * r) +
                "\" height=\"" + Num(2 * r) + "\"" + paint;
    } else {
        shape = "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" + Num(kMarkRadius) + "\"" + paint;
    }
    if (title.empty())
        return shape + "/>\n";
    return shape + "><title>" + XmlEscape(title) + "</title></" + (imported ? "rect" : "circle") + ">\n";
}

} // namespace

std::string ChartSvg(const ChartLayout& l) {
    const std::string w = Num(ChartLayout::kWidth), h = Num(ChartLayout::kHeight);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"240mm\" height=\"130mm\" viewBox=\"0 0 " +
        w + " " + h + "\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"" + Num(kFontSize) +
        "\">\n<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";
    svg +=
        Text(l.left, 50, l.title, "start", " font-size=\"" + Num(kTitleFontSize) + "\" font-weight=\"bold\"");
    if (!l.subtitle.empty())
        svg += Text(l.left, 92, l.subtitle, "start", " fill=\"#424242\"");

    for (const LaidTick& t : l.yTicks) {
        svg += HLine(l.left, l.right, t.at, {"#e0e0e0", 1.5, 0});
        svg += Text(l.left - 12, t.at + 9, t.label, "end");
    }
    for (const LaidTick& t : l.xTicks) {
        svg += "<line x1=\"" + Num(t.at) + "\" y1=\"" + Num(l.bottom) + "\" x2=\"" + Num(t.at) + "\" y2=\"" +
               Num(l.bottom + 10) + "\" stroke=\"black\" stroke-width=\"2\"/>\n";
        svg += Text(t.at, l.bottom + 40, t.label, "middle");
    }
    svg += "<rect x=\"" + Num(l.left) + "\" y=\"" + Num(l.top) + "\" width=\"" + Num(l.right - l.left) +
           "\" height=\"" + Num(l.bottom - l.top) +
           "\" fill=\"none\" stroke=\"black\" stroke-width=\"2\"/>\n";
    svg += Text((l.left + l.right) / 2, l.bottom + 85, l.xAxisTitle, "middle");
    const double yMid = (l.top + l.bottom) / 2;
    svg += Text(55, yMid, l.yAxisTitle, "middle", " transform=\"rotate(-90 55 " + Num(yMid) + ")\"");

    for (const LaidLine& line : l.lines) {
        const LineStyle style = StyleOf(line.role);
        svg += HLine(l.left, l.right, line.y, style);
        svg += Text(l.right + 10, line.y + 9, line.label, "start",
                    std::string(" fill=\"") + style.colour + "\"");
    }
    for (const LaidPhase& phase : l.phases) {
        svg += "<line x1=\"" + Num(phase.x) + "\" y1=\"" + Num(l.top) + "\" x2=\"" + Num(phase.x) +
               "\" y2=\"" + Num(l.bottom) + "\" stroke=\"" + kPhaseColour +
               "\" stroke-width=\"3\" stroke-dasharray=\"14 8\"/>\n";
        svg += Text(phase.x + 8, l.top + 30, phase.label, "start",
                    std::string(" fill=\"") + kPhaseColour + "\" font-size=\"22\"");
    }
    if (!l.marks.empty()) {
        // The trace joins the points of each phase.
        std::size_t next = 0;
        std::string points;
        for (const LaidMark& m : l.marks) {
            if (next < l.phases.size() && m.x > l.phases[next].x) {
                svg += "<polyline fill=\"none\" stroke=\"" + std::string(kTraceColour) +
                       "\" stroke-width=\"2\" points=\"" + points + "\"/>\n";
                points.clear();
                ++next;
            }
            points += Num(m.x) + "," + Num(m.y) + " ";
        }
        svg += "<polyline fill=\"none\" stroke=\"" + std::string(kTraceColour) +
               "\" stroke-width=\"2\" points=\"" + points + "\"/>\n";
    }
    for (const LaidMark& m : l.marks)
        svg += Mark(m.x, m.y, m.style, m.imported, m.title);
    if (!l.emptyText.empty())
        svg += Text((l.left + l.right) / 2, yMid, l.emptyText, "middle", " fill=\"#616161\"");

    for (const LegendEntry& e : l.legend) {
        svg += Mark(e.x, e.y, e.style, e.imported, {});
        svg += Text(e.textX, e.y + 9, e.text, "start");
    }
    return svg + "</svg>\n";
}

} // namespace talvex::controlchart
