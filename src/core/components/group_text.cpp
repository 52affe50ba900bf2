#include "core/components/group_text.h"

#include "core/common/text_codec.h"

namespace talvex {

std::string PickGroupPart(std::string_view text, bool wantFraction) {
    constexpr std::string_view kSeparator = ", ";
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t sep = text.find(kSeparator, start);
        const std::string_view part = text.substr(start, sep == std::string_view::npos ? sep : sep - start);
        if (CodePointCount(part) > 2 && (part.front() == 'F') == wantFraction)
            return std::string(part);
        if (sep == std::string_view::npos)
            break;
        start = sep + kSeparator.size();
    }
    return {};
}

} // namespace talvex
