#include "core/common/format.h"

#include "core/common/not_set.h"
#include "core/common/number_text.h"

#include <cstdarg>
#include <cstdio>

namespace talvex {

std::string StrPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<std::size_t>(size));
        std::vsnprintf(out.data(), out.size() + 1, format, args);
    }
    va_end(args);
    return out;
}

std::string FormatValue(double value, int decimals) {
    if (IsNotSet(value))
        return "---";
    return FormatFixed(value, decimals);
}

std::string FormatReportValue(double value, int decimals) {
    std::string text = FormatValue(value, decimals);
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

} // namespace talvex
