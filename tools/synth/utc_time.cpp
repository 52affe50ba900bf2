#include "utc_time.h"

#include <charconv>

namespace talvex::synth {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

unsigned DaysInMonth(std::int64_t y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// Exactly `digits` decimal digits at `pos`.
bool Field(std::string_view text, std::size_t pos, std::size_t digits, unsigned& value) {
    if (pos + digits > text.size())
        return false;
    for (std::size_t i = pos; i < pos + digits; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    const char* first = text.data() + pos;
    return std::from_chars(first, first + digits, value).ec == std::errc{};
}

} // namespace

std::optional<std::int64_t> ParseUtcDateTime(std::string_view text) {
    unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || (text[10] != ' ' && text[10] != 'T') ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    if (!Field(text, 0, 4, y) || !Field(text, 5, 2, mo) || !Field(text, 8, 2, d) || !Field(text, 11, 2, h) ||
        !Field(text, 14, 2, mi) || !Field(text, 17, 2, s))
        return std::nullopt;
    if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return DaysFromCivil(y, mo, d) * kSecondsPerDay + h * 3600 + mi * 60 + s;
}

std::int64_t StartOfUtcDay(std::int64_t seconds) {
    const std::int64_t remainder = seconds % kSecondsPerDay; // negative for times before 1970
    return seconds - (remainder < 0 ? remainder + kSecondsPerDay : remainder);
}

} // namespace talvex::synth
