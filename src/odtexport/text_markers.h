#pragma once

#include <pugixml.hpp>

namespace brisquel {

// Replaces every "#Key#" in a text node by the value of the first child element Key of `data` (nothing
// when there is no such element or it has no text). A value that heads a chain (a child element of the
// same name, and its child, ...) puts each value but the last into a copy of the text node's parent,
// inserted before it, so that every value gets a paragraph of its own. A text that cannot be filled
// within the length limit, or whose last "#" has no partner, stays as it is, without copies.
void FillTextMarkers(pugi::xml_node text, pugi::xml_node data);

} // namespace brisquel
