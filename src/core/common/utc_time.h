#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvex {

// Times in files that other programs and later versions read: ISO 8601 in UTC, "2024-03-05T08:07:09Z".

// The text of seconds since 1970 UTC; years outside 0000…9999 are clamped to those bounds.
std::string FormatUtcTime(std::int64_t seconds);

// Reads exactly that form back; nothing for any other text or an impossible date.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);

} // namespace talvex
