#include "core/chromatogram/lattice.h"

#include <cmath>
#include <stdexcept>

namespace talvex {

double CLattice::ValueAt(double t) const {
    const auto n = static_cast<long long>(samples.size());
    if (n < 2)
        throw std::invalid_argument("the signal has fewer than two samples");
    // Compare as double before converting, so that NaN, infinities and huge quotients pick an edge segment.
    const double position = std::floor((t - startTime) / step);
    long long i = 0;
    if (position >= static_cast<double>(n - 1))
        i = n - 2;
    else if (position > 0.0)
        i = static_cast<long long>(position);
    const double ta = startTime + static_cast<double>(i) * step;
    const double tb = startTime + static_cast<double>(i + 1) * step;
    const double yi = samples[i];
    if (ta == tb)
        return yi;
    const double yj = samples[i + 1];
    return yi + (yj - yi) * (t - ta) / (tb - ta);
}

} // namespace talvex
