#include "odtexport/split_marker.h"

#include "odtexport/marker_limits.h"
#include "odtexport/utf.h"
#include "odtexport/xml_nodes.h"

#include <string>
#include <string_view>
#include <vector>

namespace brisquel {
namespace {

bool HoldsUnfinishedMarker(std::string_view text) {
    const std::size_t first = text.find('#');
    return first != std::string_view::npos && text.find('#', first + 1) == std::string_view::npos;
}

// The run a following sibling contributes: the sibling itself, or the first child of an element.
pugi::xml_node RunOf(pugi::xml_node sibling) {
    if (sibling.type() == pugi::node_element && sibling.first_child())
        return sibling.first_child();
    return sibling;
}

} // namespace

void JoinSplitMarker(pugi::xml_node node) {
    if (node.type() != pugi::node_pcdata || !HoldsUnfinishedMarker(node.value()))
        return;
    const pugi::xml_node paragraph = EnclosingParagraph(node);
    const pugi::xml_node anchor = node.next_sibling() ? node : node.parent();
    if (!paragraph || anchor == paragraph)
        return; // the runs after the anchor would lie outside the paragraph

    std::string joined = node.value();
    std::size_t length = CodePointCount(joined);
    std::vector<pugi::xml_node> taken;
    for (pugi::xml_node sibling = anchor.next_sibling(); sibling; sibling = sibling.next_sibling()) {
        pugi::xml_node run = RunOf(sibling);
        if (run.type() != pugi::node_pcdata)
            continue; // a bookmark, a blank or a nested span holds no text to join
        const std::string_view text = run.value();
        const std::size_t sign = text.find('#');
        const std::string_view part = sign == std::string_view::npos ? text : text.substr(0, sign + 1);
        length += CodePointCount(part);
        if (length > kMaxFilledTextLength)
            return;
        joined += part;
        if (sign == std::string_view::npos) {
            taken.push_back(run);
            continue;
        }
        node.set_value(joined.c_str());
        for (pugi::xml_node t : taken)
            t.parent().remove_child(t);
        const std::string rest(text.substr(sign + 1));
        if (rest.empty())
            run.parent().remove_child(run);
        else
            run.set_value(rest.c_str());
        return;
    }
}

} // namespace brisquel
