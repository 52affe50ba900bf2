#pragma once

#include <cstddef>

namespace brisquel {

// A key between two number signs has at most this many characters; more, and the first sign is plain
// text.
inline constexpr std::size_t kMaxKeyLength = 15;

// The text a marker fill or a marker join builds is held to this many characters.
inline constexpr std::size_t kMaxFilledTextLength = 1023;

} // namespace brisquel
