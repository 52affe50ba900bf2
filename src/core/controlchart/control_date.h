#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talvex::controlchart {

struct ControlDate {
    std::int64_t seconds = 0; // since the epoch, UTC
    bool hasTime = false;     // false: the text named a day only (its start is `seconds`)
};

// A date as the laboratory writes it: "ДД.ММ.ГГГГ" or "ДД.ММ.ГГГГ ЧЧ:ММ" in local time (the TZ of the
// process), or ISO 8601: "ГГГГ-ММ-ДД", "ГГГГ-ММ-ДДTЧЧ:ММ[:СС]" (a space instead of "T" too) in local
// time, or with "Z" or an offset "+ЧЧ:ММ" / "-ЧЧ:ММ" as given. Leading and trailing blanks are ignored.
// Nothing for any other text or an impossible date (31.02.2024, 24:00).
std::optional<ControlDate> ParseControlDate(std::string_view text);

} // namespace talvex::controlchart
