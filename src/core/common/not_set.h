#pragma once

#include <limits>

namespace talvex {

// The marker of a missing number in the database and in every result: the lowest finite double.
// A value read as 0 is a set value; only this exact value (or anything not above it) means "missing".
inline constexpr double NotSet = std::numeric_limits<double>::lowest();

// True when the value counts as missing: NotSet itself, -inf, and NaN (which compares false with everything).
inline bool IsNotSet(double value) {
    return !(value > NotSet);
}

// True when a time (a peak's start or end, minutes) is missing: not set, or the largest double or +inf
// that a damaged file may hold where a time should be. Both calculations integrate only between set times.
inline bool IsMissingTime(double t) {
    return IsNotSet(t) || !(t < std::numeric_limits<double>::max());
}

} // namespace talvex
