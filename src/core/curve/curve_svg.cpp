#include "core/curve/curve_svg.h"

#include "core/common/number_text.h"
#include "core/common/xml_text.h"

#include <algorithm>
#include <cmath>

namespace talvex {
namespace {

// The drawing in user units of 0.1 mm: the plot area inside the margins.
constexpr double kWidth = 1600, kHeight = 1000;
constexpr double kLeft = 130, kRight = 60, kTop = 60, kBottom = 120;

std::string Num(double value) {
    return FormatFixed(value, 1);
}

struct Axes {
    double tMin = 0, tMax = 100;
    double X(double t) const { return kLeft + (t - tMin) / (tMax - tMin) * (kWidth - kLeft - kRight); }
    double Y(double c) const { return kHeight - kBottom - c / 100.0 * (kHeight - kTop - kBottom); }
};

std::string Polyline(const Axes& axes, const BoilingCurve& curve, const char* colour, double width) {
    std::string points;
    for (const auto& [t, c] : curve.points)
        points += Num(axes.X(t)) + "," + Num(axes.Y(c)) + " ";
    // The curve goes on at 100 % to the right edge, as the cumulative share does.
    if (!curve.points.empty())
        points += Num(axes.X(axes.tMax)) + "," + Num(axes.Y(curve.points.back().second));
    return "<polyline fill=\"none\" stroke=\"" + std::string(colour) + "\" stroke-width=\"" + Num(width) +
           "\" points=\"" + points + "\"/>\n";
}

} // namespace

std::string BoilingCurvesSvg(const CompositionCurves& condensate, const CompositionCurves& nlh) {
    std::vector<const BoilingCurve*> all;
    if (condensate.result)
        all.push_back(&*condensate.result);
    for (const BoilingCurve& c : condensate.analyses)
        all.push_back(&c);
    if (nlh.result)
        all.push_back(&*nlh.result);
    Axes axes;
    if (!all.empty()) {
        double lo = all.front()->points.front().first, hi = all.front()->points.back().first;
        for (const BoilingCurve* c : all) {
            lo = std::min(lo, c->points.front().first);
            hi = std::max(hi, c->points.back().first);
        }
        axes.tMin = std::floor(lo / 50.0) * 50.0;
        axes.tMax = std::max(axes.tMin + 50.0, std::ceil(hi / 50.0) * 50.0);
    }

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"160mm\" height=\"100mm\" "
                      "viewBox=\"0 0 1600 1000\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"28\">\n"
                      "<rect width=\"1600\" height=\"1000\" fill=\"white\"/>\n";
    // Grid and labels: every 10 % up, every 50 °C across.
    for (int c = 0; c <= 100; c += 10) {
        svg += "<line x1=\"" + Num(kLeft) + "\" y1=\"" + Num(axes.Y(c)) + "\" x2=\"" + Num(kWidth - kRight) +
               "\" y2=\"" + Num(axes.Y(c)) + "\" stroke=\"#d0d7de\" stroke-width=\"1.5\"/>\n";
        svg += "<text x=\"" + Num(kLeft - 12) + "\" y=\"" + Num(axes.Y(c) + 9) + "\" text-anchor=\"end\">" +
               std::to_string(c) + "</text>\n";
    }
    for (double t = axes.tMin; t <= axes.tMax + 1e-9; t += 50) {
        svg += "<line x1=\"" + Num(axes.X(t)) + "\" y1=\"" + Num(kTop) + "\" x2=\"" + Num(axes.X(t)) +
               "\" y2=\"" + Num(kHeight - kBottom) + "\" stroke=\"#d0d7de\" stroke-width=\"1.5\"/>\n";
        svg += "<text x=\"" + Num(axes.X(t)) + "\" y=\"" + Num(kHeight - kBottom + 38) +
               "\" text-anchor=\"middle\">" + FormatFixed(t, 0) + "</text>\n";
    }
    svg += "<text x=\"" + Num((kLeft + kWidth - kRight) / 2) + "\" y=\"" + Num(kHeight - 30) +
           "\" text-anchor=\"middle\">Температура, °C</text>\n";
    svg += "<text x=\"36\" y=\"" + Num((kTop + kHeight - kBottom) / 2) +
           "\" text-anchor=\"middle\" transform=\"rotate(-90 36 " + Num((kTop + kHeight - kBottom) / 2) +
           ")\">% отгона</text>\n";

    for (const BoilingCurve& c : condensate.analyses)
        svg += Polyline(axes, c, "#7a9cc6", 2);
    if (condensate.result)
        svg += Polyline(axes, *condensate.result, "#1f4e8c", 6);
    if (nlh.result)
        svg += Polyline(axes, *nlh.result, "#c0392b", 4);

    // Legend, or the reasons when a curve is missing.
    double y = kTop + 40;
    const auto legend = [&](const char* colour, double width, const std::string& text) {
        svg += "<line x1=\"" + Num(kLeft + 30) + "\" y1=\"" + Num(y - 9) + "\" x2=\"" + Num(kLeft + 100) +
               "\" y2=\"" + Num(y - 9) + "\" stroke=\"" + colour + "\" stroke-width=\"" + Num(width) +
               "\"/>\n";
        svg += "<text x=\"" + Num(kLeft + 115) + "\" y=\"" + Num(y) + "\">" + XmlEscape(text) + "</text>\n";
        y += 40;
    };
    if (condensate.result)
        legend("#1f4e8c", 6, "ДК, результат");
    if (!condensate.analyses.empty())
        legend("#7a9cc6", 2, "ДК, анализы");
    if (nlh.result)
        legend("#c0392b", 4, "НЖУ");
    for (const std::string* reason : {&condensate.reason, &nlh.reason})
        if (!reason->empty()) {
            svg += "<text x=\"" + Num(kLeft + 30) + "\" y=\"" + Num(y) + "\" fill=\"#555\">" +
                   XmlEscape(*reason) + "</text>\n";
            y += 40;
        }
    svg += "</svg>\n";
    return svg;
}

} // namespace talvex
