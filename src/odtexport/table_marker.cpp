#include "odtexport/table_marker.h"

#include "odtexport/xml_nodes.h"

#include <climits>
#include <string>
#include <string_view>

namespace brisquel {
namespace {

constexpr std::string_view kTableMarkerStart = "#Table";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The table number between "#Table" and "#"; a number beyond int counts as the largest int (no such
// table exists, so the template table is dropped).
int ReadTableNumber(std::string_view digits) {
    std::size_t i = 0;
    while (i < digits.size() && IsBlank(digits[i]))
        ++i;
    long long n = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        n = n * 10 + (digits[i] - '0');
        if (n > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(n);
}

} // namespace

int FindTableMarker(pugi::xml_node row) {
    for (pugi::xml_node node = row.first_child(); node; node = NextInSubtree(node, row)) {
        if (node.type() != pugi::node_pcdata)
            continue;
        const std::string_view text = node.value();
        const std::size_t start = text.find(kTableMarkerStart);
        if (start == std::string_view::npos)
            continue;
        const std::size_t end = text.find('#', start + kTableMarkerStart.size());
        if (end == std::string_view::npos)
            continue;
        const int n = ReadTableNumber(
            text.substr(start + kTableMarkerStart.size(), end - start - kTableMarkerStart.size()));
        if (n > 0) {
            const std::string rest = std::string(text.substr(0, start)) + std::string(text.substr(end + 1));
            node.set_value(rest.c_str());
        }
        return n;
    }
    return -1;
}

} // namespace brisquel
