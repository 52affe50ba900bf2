#include "core/common/band_level.h"

#include <cmath>
#include <cstddef>

namespace talvex {

double BandLevel(std::span<const float> window) {
    const auto n = static_cast<double>(window.size());
    double sum = 0.0;
    for (const float y : window)
        sum += static_cast<double>(y);
    const double mean = sum / n;
    double squares = 0.0;
    for (const float y : window)
        squares += (static_cast<double>(y) - mean) * (static_cast<double>(y) - mean);
    const double sigma = std::sqrt(squares / n);
    double inside = 0.0;
    std::size_t count = 0;
    for (const float y : window) {
        const double v = static_cast<double>(y);
        if (mean - sigma < v && v < mean + sigma) {
            inside += v;
            ++count;
        }
    }
    return count > 0 ? inside / static_cast<double>(count) : mean;
}

} // namespace talvex
