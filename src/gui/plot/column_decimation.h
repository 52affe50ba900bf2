#pragma once

#include <cstddef>
#include <vector>

// The smallest and largest sample that falls into one pixel column of the plot.
struct ColumnExtent {
    float min = 0.0f;
    float max = 0.0f;
    bool empty = true; // no sample falls into the column
};

// Splits the time range [t0, t1) into `columns` equal pixel columns and keeps, for each, the minimum and
// maximum of the samples (sample k at startTime + k * step minutes) that fall into it. Drawing a vertical
// line from min to max per column shows every spike of a million-sample signal at the cost of one pass
// over the visible samples. No columns for columns <= 0, t1 <= t0 or step <= 0.
std::vector<ColumnExtent> DecimateColumns(const float* samples, std::size_t count, double startTime,
                                          double step, double t0, double t1, int columns);
