#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brisquel {

// A zero-terminated UTF-16 text as UTF-8; nullopt when it holds an unpaired surrogate.
std::optional<std::string> Utf16ToUtf8(const char16_t* text);

// Length limits of the markers count characters, i.e. code points of the UTF-8 text.
std::size_t CodePointCount(std::string_view text);

// The longest prefix of `text` holding at most `limit` code points.
std::string_view FirstCodePoints(std::string_view text, std::size_t limit);

} // namespace brisquel
