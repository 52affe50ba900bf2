#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

struct CondensateResult;

// The time window of one boiling fraction that marking method A cut out of a condensate chromatogram.
struct FractionWindow {
    std::string name;   // "F45-60", ...
    double start = 0.0; // minutes
    double end = 0.0;   // minutes
};

// The fraction windows of method A of the chromatogram with this fileId (a sample analysis or the control
// sample), in marking order. Empty when the chromatogram took no part in the last condensate calculation;
// fractions whose window has a missing bound are left out.
std::vector<FractionWindow> MethodAFractionWindows(const CondensateResult& result, std::int32_t fileId);

} // namespace talvex
