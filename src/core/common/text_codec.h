#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvex {

// Conversions between the encodings the laboratory's files use and the UTF-8 strings of the core.
// Invalid input never fails: undecodable units become U+FFFD.

// One-byte text in the laboratory's ANSI code page, Windows-1251.
std::string Cp1251ToUtf8(std::string_view bytes);
// Characters that Windows-1251 cannot hold become '?'.
std::string Utf8ToCp1251(std::string_view text);

// UTF-16 little-endian code units (count units, 2 bytes each); unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t units);
std::u16string Utf8ToUtf16(std::string_view text);

// Number of code points of valid UTF-8 text; limits "in characters" count these.
std::size_t CodePointCount(std::string_view text);
// The first `count` code points of the text (all of it when shorter).
std::string_view FirstCodePoints(std::string_view text, std::size_t count);

} // namespace talvex
