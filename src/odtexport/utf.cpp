#include "odtexport/utf.h"

#include "base/utf8_append.h"

namespace brisquel {
namespace {

using talvex::AppendUtf8;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::optional<std::string> Utf16ToUtf8(const char16_t* text) {
    std::string out;
    for (const char16_t* p = text; *p; ++p) {
        char32_t cp = *p;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const char32_t low = p[1];
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            ++p;
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return std::nullopt;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::size_t CodePointCount(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        if (!IsContinuationByte(c))
            ++n;
    return n;
}

std::string_view FirstCodePoints(std::string_view text, std::size_t limit) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i]))
            continue;
        if (n == limit)
            return text.substr(0, i);
        ++n;
    }
    return text;
}

} // namespace brisquel
