#include "portable_math.h"

#include <cmath>
#include <limits>

namespace talvex::synth {

double PortableExp(double x) {
    if (std::isnan(x))
        return x;
    if (x < -746.0)
        return 0.0;
    if (x > 709.78)
        return std::numeric_limits<double>::infinity();
    // x = k ln2 + r with |r| <= ln2 / 2; ln2 is split so that k * kLn2Hi is exact.
    constexpr double kInvLn2 = 1.44269504088896338700e+00;
    constexpr double kLn2Hi = 6.93147180369123816490e-01;
    constexpr double kLn2Lo = 1.90821492927058770002e-10;
    const double k = std::floor(x * kInvLn2 + 0.5);
    const double r = (x - k * kLn2Hi) - k * kLn2Lo;
    // Taylor series to r^14 / 14!, whose remainder is far below double precision for |r| <= 0.35.
    double sum = 1.0;
    for (int n = 14; n >= 1; --n)
        sum = 1.0 + sum * r / n;
    return std::ldexp(sum, static_cast<int>(k));
}

} // namespace talvex::synth
