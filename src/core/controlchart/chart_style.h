#pragma once
// Colours and pens of the control charts, shared by the SVG writer and the painter.

#include "core/controlchart/chart_layout.h"

namespace talvex::controlchart {

struct LineStyle {
    const char* colour; // #rrggbb
    double width;       // drawing units
    double dash;        // dash length in drawing units; 0 for a solid line
};

inline LineStyle StyleOf(LineRole role) {
    switch (role) {
    case LineRole::Centre:
        return {"#2e7d32", 3.0, 0};
    case LineRole::Warning:
        return {"#ef6c00", 3.0, 16};
    case LineRole::Action:
        return {"#c62828", 3.5, 0};
    case LineRole::HalfWarning:
        return {"#9e9e9e", 2.0, 6};
    }
    return {"#000000", 2.0, 0};
}

inline const char* FillOf(MarkStyle style) {
    switch (style) {
    case MarkStyle::Normal:
        return "#1565c0";
    case MarkStyle::Signal:
        return "#d50000";
    case MarkStyle::Excluded:
        return "none";
    }
    return "none";
}

inline constexpr const char* kExcludedStroke = "#757575";
inline constexpr const char* kPhaseColour = "#6a1b9a";
inline constexpr const char* kTraceColour = "#90a4ae";
inline constexpr double kMarkRadius = 8.0;
inline constexpr double kFontSize = 26.0;
inline constexpr double kTitleFontSize = 34.0;

} // namespace talvex::controlchart
