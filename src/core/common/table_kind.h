#pragma once

#include <array>
#include <cstddef>

namespace talvex {

// The table a composition page shows: a result (the analyses, the control with a sample, the control
// with a standard) in one of two compositions (gas: components, fractions; condensate: method A, method
// B). The value is the kind's number, result × 2 + composition + 1, which also names the table files.
// The control with a standard has one table for both compositions.
enum class TableKind {
    AnalysisFirst = 1,
    AnalysisSecond = 2,
    SampleControlFirst = 3,
    SampleControlSecond = 4,
    StandardControlFirst = 5,
    StandardControlSecond = 6,
};

inline constexpr std::array<TableKind, 6> kTableKinds{
    TableKind::AnalysisFirst,       TableKind::AnalysisSecond,       TableKind::SampleControlFirst,
    TableKind::SampleControlSecond, TableKind::StandardControlFirst, TableKind::StandardControlSecond,
};

constexpr int TableKindNumber(TableKind kind) {
    return static_cast<int>(kind);
}

// 0 for the first composition, 1 for the second.
constexpr std::size_t CompositionOf(TableKind kind) {
    return static_cast<std::size_t>((TableKindNumber(kind) - 1) % 2);
}

constexpr bool IsAnalysis(TableKind kind) {
    return kind == TableKind::AnalysisFirst || kind == TableKind::AnalysisSecond;
}

constexpr bool IsSampleControl(TableKind kind) {
    return kind == TableKind::SampleControlFirst || kind == TableKind::SampleControlSecond;
}

constexpr bool IsStandardControl(TableKind kind) {
    return kind == TableKind::StandardControlFirst || kind == TableKind::StandardControlSecond;
}

} // namespace talvex
