#include "core/common/utc_time.h"

#include "core/common/format.h"

#include <ctime>

namespace talvex {
namespace {

// Seconds of 0000-01-01T00:00:00Z and of 9999-12-31T23:59:59Z.
constexpr std::int64_t kFirstSecond = -62167219200;
constexpr std::int64_t kLastSecond = 253402300799;

} // namespace

std::string FormatUtcTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(
        seconds < kFirstSecond ? kFirstSecond : (seconds > kLastSecond ? kLastSecond : seconds));
    std::tm utc{};
    gmtime_r(&t, &utc);
    return StrPrintf("%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                     utc.tm_hour, utc.tm_min, utc.tm_sec);
}

std::optional<std::int64_t> ParseUtcTime(std::string_view text) {
    // "YYYY-MM-DDThh:mm:ssZ": digits at fixed places, nothing else.
    static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != kShape.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i])
            return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    std::tm fields{};
    fields.tm_year = number(0, 4) - 1900;
    fields.tm_mon = number(5, 2) - 1;
    fields.tm_mday = number(8, 2);
    fields.tm_hour = number(11, 2);
    fields.tm_min = number(14, 2);
    fields.tm_sec = number(17, 2);
    const std::tm asGiven = fields;
    const std::int64_t seconds = static_cast<std::int64_t>(::timegm(&fields));
    // timegm normalises 31 February into March: a date that moved was not a date.
    if (fields.tm_year != asGiven.tm_year || fields.tm_mon != asGiven.tm_mon ||
        fields.tm_mday != asGiven.tm_mday || fields.tm_hour != asGiven.tm_hour ||
        fields.tm_min != asGiven.tm_min || fields.tm_sec != asGiven.tm_sec)
        return std::nullopt;
    return seconds;
}

} // namespace talvex
