#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talvex::synth {

// "YYYY-MM-DD HH:MM:SS" (or with 'T' between date and time) read as UTC, in seconds since the epoch; no
// dependence on the time zone or locale of the process. Empty for anything else or an impossible date.
std::optional<std::int64_t> ParseUtcDateTime(std::string_view text);

// Seconds of midnight UTC of the day that holds `seconds`.
std::int64_t StartOfUtcDay(std::int64_t seconds);

} // namespace talvex::synth
