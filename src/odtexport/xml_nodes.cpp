#include "odtexport/xml_nodes.h"

namespace brisquel {

bool IsElementNamed(pugi::xml_node node, std::string_view name) {
    return node.type() == pugi::node_element && name == node.name();
}

pugi::xml_node FirstChildElement(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (IsElementNamed(child, name))
            return child;
    return {};
}

std::string_view ValueOf(pugi::xml_node element) {
    return element.text().get();
}

pugi::xml_node EnclosingParagraph(pugi::xml_node node) {
    for (pugi::xml_node p = node.parent(); p; p = p.parent())
        if (IsElementNamed(p, "text:p") || IsElementNamed(p, "text:h"))
            return p;
    return {};
}

pugi::xml_node NextInSubtree(pugi::xml_node node, pugi::xml_node root) {
    if (node.first_child())
        return node.first_child();
    for (; node && node != root; node = node.parent())
        if (node.next_sibling())
            return node.next_sibling();
    return {};
}

} // namespace brisquel
