#pragma once

#include <pugixml.hpp>

namespace brisquel {

// Fills a template node and everything below it from a data element (the report root at the top):
// joins split markers, expands marker rows of tables (one copy per child of the data table, filled from
// that child; a table whose data table is missing goes, with the empty paragraph after it) and fills
// the markers of every text. Returns true when it removed `node` itself from the tree.
bool FillTemplateNode(pugi::xml_node node, pugi::xml_node data);

// Filling recurses along the template's nesting; a real document nests a few dozen levels, so anything
// beyond this is refused as damaged rather than risking the stack.
inline constexpr unsigned kMaxTemplateDepth = 1000;

// True when some node of the document lies deeper than kMaxTemplateDepth.
bool IsNestedTooDeep(pugi::xml_node document);

} // namespace brisquel
