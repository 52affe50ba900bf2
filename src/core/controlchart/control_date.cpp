#include "core/controlchart/control_date.h"

#include <ctime>

namespace talvex::controlchart {
namespace {

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The fields as given must survive the C library's normalisation (31 February moves into March).
std::optional<std::int64_t> ToSeconds(int year, int month, int day, int hour, int minute, int second,
                                      std::optional<int> offsetMinutes) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    std::int64_t seconds = 0;
    if (offsetMinutes) {
        seconds = static_cast<std::int64_t>(::timegm(&fields)) - std::int64_t{*offsetMinutes} * 60;
    } else {
        seconds = static_cast<std::int64_t>(std::mktime(&fields));
    }
    if (fields.tm_year != year - 1900 || fields.tm_mon != month - 1 || fields.tm_mday != day)
        return std::nullopt;
    return seconds;
}

} // namespace

std::optional<ControlDate> ParseControlDate(std::string_view raw) {
    const std::string_view text = Trim(raw);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::size_t at = 0;
    if (text.size() >= 10 && text[2] == '.' && text[5] == '.') {
        if (!Digits(text, 0, 2, day) || !Digits(text, 3, 2, month) || !Digits(text, 6, 4, year))
            return std::nullopt;
        at = 10;
    } else if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
        if (!Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day))
            return std::nullopt;
        at = 10;
    } else {
        return std::nullopt;
    }
    const bool iso = text[4] == '-';
    bool hasTime = false;
    std::optional<int> offset;
    if (at < text.size()) {
        const char sep = text[at];
        if (!(sep == ' ' || (iso && sep == 'T')))
            return std::nullopt;
        if (!Digits(text, at + 1, 2, hour) || at + 3 >= text.size() || text[at + 3] != ':' ||
            !Digits(text, at + 4, 2, minute))
            return std::nullopt;
        at += 6;
        hasTime = true;
        if (iso && at < text.size() && text[at] == ':') {
            if (!Digits(text, at + 1, 2, second))
                return std::nullopt;
            at += 3;
        }
        if (iso && at < text.size()) {
            if (text[at] == 'Z' && at + 1 == text.size()) {
                offset = 0;
                at += 1;
            } else if ((text[at] == '+' || text[at] == '-') && at + 6 == text.size() && text[at + 3] == ':') {
                int oh = 0, om = 0;
                if (!Digits(text, at + 1, 2, oh) || !Digits(text, at + 4, 2, om) || oh > 14 || om > 59)
                    return std::nullopt;
                offset = (text[at] == '-' ? -1 : 1) * (oh * 60 + om);
                at += 6;
            }
        }
    }
    if (at != text.size())
        return std::nullopt;
    const auto seconds = ToSeconds(year, month, day, hour, minute, second, offset);
    if (!seconds)
        return std::nullopt;
    return ControlDate{*seconds, hasTime};
}

} // namespace talvex::controlchart
