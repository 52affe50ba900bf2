#include "gui/plot/column_decimation.h"

#include <algorithm>
#include <cmath>

std::vector<ColumnExtent> DecimateColumns(const float* samples, std::size_t count, double startTime,
                                          double step, double t0, double t1, int columns) {
    if (columns <= 0 || !(t1 > t0) || !(step > 0) || count == 0)
        return std::vector<ColumnExtent>(static_cast<std::size_t>(std::max(columns, 0)));
    std::vector<ColumnExtent> out(static_cast<std::size_t>(columns));
    // Only the samples inside the visible range are visited.
    const double firstK = std::ceil((t0 - startTime) / step);
    const double lastK = std::ceil((t1 - startTime) / step) - 1;
    if (lastK < 0 || firstK >= static_cast<double>(count))
        return out;
    const std::size_t first = firstK < 0 ? 0 : static_cast<std::size_t>(firstK);
    const std::size_t last = std::min(count - 1, static_cast<std::size_t>(lastK));
    const double columnsPerMinute = columns / (t1 - t0);
    for (std::size_t k = first; k <= last; ++k) {
        const double t = startTime + static_cast<double>(k) * step;
        const int c = std::clamp(static_cast<int>((t - t0) * columnsPerMinute), 0, columns - 1);
        ColumnExtent& e = out[static_cast<std::size_t>(c)];
        const float v = samples[k];
        if (e.empty) {
            e.min = e.max = v;
            e.empty = false;
        } else {
            e.min = std::min(e.min, v);
            e.max = std::max(e.max, v);
        }
    }
    return out;
}
