#include "core/common/case_fold.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <limits>

namespace talvex {
namespace {

constexpr std::size_t kMaxLength = std::numeric_limits<int32_t>::max();

} // namespace

std::u16string FoldCaseUtf16(std::string_view utf8) {
    std::u16string folded;
    if (utf8.size() > kMaxLength)
        return folded;
    folded.reserve(utf8.size());
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT_OR_FFFD(s, i, length, c);
        const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (U_IS_BMP(f)) {
            folded += static_cast<char16_t>(f);
        } else {
            folded += static_cast<char16_t>(U16_LEAD(f));
            folded += static_cast<char16_t>(U16_TRAIL(f));
        }
    }
    return folded;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() > kMaxLength || b.size() > kMaxLength)
        return a == b;
    const auto* sa = reinterpret_cast<const uint8_t*>(a.data());
    const auto* sb = reinterpret_cast<const uint8_t*>(b.data());
    const auto la = static_cast<int32_t>(a.size());
    const auto lb = static_cast<int32_t>(b.size());
    int32_t i = 0;
    int32_t j = 0;
    while (i < la && j < lb) {
        UChar32 ca = 0;
        UChar32 cb = 0;
        U8_NEXT_OR_FFFD(sa, i, la, ca);
        U8_NEXT_OR_FFFD(sb, j, lb, cb);
        if (ca != cb && u_foldCase(ca, U_FOLD_CASE_DEFAULT) != u_foldCase(cb, U_FOLD_CASE_DEFAULT))
            return false;
    }
    return i == la && j == lb;
}

} // namespace talvex
