#include "core/common/number_text.h"

#include "core/common/text_codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>
#include <vector>

namespace talvex {
namespace {

bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c, bool hex) {
    if (c >= '0' && c <= '9')
        return true;
    return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// from_chars reports a match that does not fit a double without saying which way it missed. The matched
// text tells: the position of its first significant digit plus its exponent gives the order of magnitude.
bool MagnitudeIsLarge(std::string_view match, bool hex) {
    const long digitWeight = hex ? 4 : 1;
    long order = 0; // digits of the mantissa before the point, from the first non-zero one
    bool seenNonZero = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < match.size(); ++i) {
        const char c = match[i];
        if (c == '.') {
            afterPoint = true;
        } else if (IsDigit(c, hex)) {
            if (c != '0')
                seenNonZero = true;
            if (!afterPoint && seenNonZero)
                order += digitWeight;
            else if (afterPoint && !seenNonZero)
                order -= digitWeight;
        } else {
            break;
        }
    }
    long exponent = 0;
    if (i < match.size()) { // the exponent marker
        ++i;
        bool negative = false;
        if (i < match.size() && (match[i] == '+' || match[i] == '-'))
            negative = match[i++] == '-';
        for (; i < match.size() && IsDigit(match[i], false); ++i)
            if (exponent < 1'000'000)
                exponent = exponent * 10 + (match[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    return order + exponent > 0;
}

// The number at `first`; nothing when no number starts there.
std::optional<double> FromChars(const char* first, const char* last, bool hex) {
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(first, last, value, hex ? std::chars_format::hex : std::chars_format::general);
    if (ec == std::errc::invalid_argument)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return MagnitudeIsLarge(std::string_view(first, static_cast<std::size_t>(end - first)), hex)
                   ? std::numeric_limits<double>::infinity()
                   : 0.0;
    return value;
}

} // namespace

double ParseAtof(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // from_chars takes a '-' of its own; a second sign is no number for atof.
    if (i >= text.size() || text[i] == '+' || text[i] == '-')
        return 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    std::optional<double> value = 0.0;
    const bool hexPrefix = last - first >= 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
    if (hexPrefix) {
        const char* digits = first + 2;
        const bool hexDigitFollows =
            digits < last &&
            (IsDigit(*digits, true) || (*digits == '.' && digits + 1 < last && IsDigit(digits[1], true)));
        // "0x" without hexadecimal digits is the number 0 followed by text.
        value = hexDigitFollows ? FromChars(digits, last, true) : 0.0;
    } else {
        value = FromChars(first, last, false);
    }
    // A sign without a number is no number either: atof gives +0 for "-" as for "x".
    if (!value)
        return 0.0;
    return negative ? -*value : *value;
}

TypedNumber ReadTypedNumber(std::string_view typed) {
    std::string text(typed);
    std::replace(text.begin(), text.end(), ',', '.');
    const std::size_t point = text.find('.');
    const std::size_t decimals = point == std::string::npos ? 0 : CodePointCount(text.substr(point + 1));
    TypedNumber number;
    number.value = ParseAtof(text);
    // A pasted novel after the point must not ask for millions of digits.
    number.decimals = static_cast<int>(std::min<std::size_t>(decimals, 1000));
    number.shown = FormatFixed(number.value, number.decimals);
    return number;
}

bool StartsWithNumber(std::string_view typed) {
    std::size_t i = 0;
    while (i < typed.size() && IsCBlank(typed[i]))
        ++i;
    if (i < typed.size() && (typed[i] == '+' || typed[i] == '-'))
        ++i;
    // from_chars takes a '-' of its own; a second sign is no number for atof.
    if (i >= typed.size() || typed[i] == '+' || typed[i] == '-')
        return false;
    std::string rest(typed.substr(i));
    std::replace(rest.begin(), rest.end(), ',', '.');
    double value = 0.0;
    const std::errc ec = std::from_chars(rest.data(), rest.data() + rest.size(), value).ec;
    // Out of range is still a number (atof reads it as infinity or 0).
    return ec == std::errc() || ec == std::errc::result_out_of_range;
}

std::string FormatFixedExact(double value, int decimals) {
    std::string text = FormatFixed(value, decimals);
    if (!std::isfinite(value) || ParseAtof(text) == value)
        return text;
    // The shortest fixed text that reads back as the value; it needs more decimals than were asked for.
    std::vector<char> buffer(400);
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (ec != std::errc())
        return text;
    return std::string(buffer.data(), end);
}

std::string FormatFixed(double value, int decimals) {
    if (decimals < 0)
        decimals = 0;
    // 1e308 in fixed notation needs 309 digits before the point.
    std::vector<char> buffer(static_cast<std::size_t>(decimals) + 330);
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return {};
    return std::string(buffer.data(), end);
}

std::string FormatGeneral(double value, int precision) {
    precision = std::clamp(precision, 1, 1000);
    std::vector<char> buffer(static_cast<std::size_t>(precision) + 32);
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, precision);
    if (ec != std::errc())
        return {};
    return std::string(buffer.data(), end);
}

} // namespace talvex
