#include "core/common/text_codec.h"

#include "base/utf8_append.h"

#include <unicode/ucnv.h>

#include <array>
#include <map>
#include <stdexcept>

namespace talvex {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code point of every Windows-1251 byte, taken once from ICU's converter table.
const std::array<char32_t, 256>& Cp1251Table() {
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> t{};
        UErrorCode status = U_ZERO_ERROR;
        UConverter* conv = ucnv_open("windows-1251", &status);
        if (U_FAILURE(status))
            throw std::runtime_error("ICU has no windows-1251 converter");
        for (int b = 0; b < 256; ++b) {
            const char in = static_cast<char>(b);
            UChar out[2] = {0, 0};
            UErrorCode st = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(conv, out, 2, &in, 1, &st);
            t[b] = (U_SUCCESS(st) && n == 1) ? out[0] : kReplacement;
        }
        ucnv_close(conv);
        return t;
    }();
    return table;
}

// Decodes one code point at `pos` and advances it; malformed sequences give U+FFFD and skip one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + extra >= text.size()) { // truncated sequence
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + i]);
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

} // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
    const auto& table = Cp1251Table();
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char b : bytes)
        AppendUtf8(out, table[static_cast<unsigned char>(b)]);
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    static const std::map<char32_t, char> reverse = [] {
        std::map<char32_t, char> m;
        const auto& table = Cp1251Table();
        for (int b = 255; b >= 0; --b)
            if (table[b] != kReplacement)
                m[table[b]] = static_cast<char>(b);
        return m;
    }();
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = NextCodePoint(text, pos);
        const auto it = reverse.find(cp);
        out += it != reverse.end() ? it->second : '?';
    }
    return out;
}

std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t units) {
    std::string out;
    out.reserve(units * 2);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = data[2 * i] | (data[2 * i + 1] << 8);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const char32_t low = data[2 * i + 2] | (data[2 * i + 3] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u < 0xE000) ? kReplacement : u);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = NextCodePoint(text, pos);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::size_t CodePointCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        NextCodePoint(text, pos);
    return count;
}

std::string_view FirstCodePoints(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n)
        NextCodePoint(text, pos);
    return text.substr(0, pos);
}

} // namespace talvex
