// Fuzz target of the typed-number rule of the pages and editors: the locale-free atof reading must agree
// with the C library's in the "C" locale, the fixed-point printing with printf's, and a typed cell shown
// once must show the same text when it is typed again.
#include "core/common/not_set.h"
#include "core/common/number_text.h"
#include "core/components/typed_cell.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool SameNumber(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const std::string cString(typed.c_str()); // what the C library sees: up to the first NUL
    const double value = talvex::ParseAtof(cString);
    if (!SameNumber(value, std::strtod(cString.c_str(), nullptr)))
        __builtin_trap();

    const talvex::TypedNumber number = talvex::ReadTypedNumber(typed);
    if (number.decimals < 0)
        __builtin_trap();
    if (number.decimals <= 40) {
        char printed[512];
        std::snprintf(printed, sizeof printed, "%.*f", number.decimals, number.value);
        if (std::isfinite(number.value) && std::fabs(number.value) < 1e300 &&
            talvex::FormatFixed(number.value, number.decimals) != printed)
            __builtin_trap();
    }

    // A refused text changes nothing; an accepted one is shown as a text that is accepted again as itself.
    const auto cell = talvex::NormaliseTypedCell(typed);
    if (!cell)
        return 0;
    const auto& [stored, shown] = *cell;
    const auto again = talvex::NormaliseTypedCell(shown);
    if (!again)
        __builtin_trap();
    const auto& [storedAgain, shownAgain] = *again;
    if (shownAgain != shown)
        __builtin_trap();
    if (talvex::IsNotSet(stored) != talvex::IsNotSet(storedAgain))
        __builtin_trap();
    return 0;
}
