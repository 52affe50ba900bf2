#pragma once

#include <pugixml.hpp>

#include <string_view>

namespace brisquel {

// Small questions about template and data nodes that every filling step asks.

bool IsElementNamed(pugi::xml_node node, std::string_view name);

// The first child that is an element of this name (processing instructions also carry names).
pugi::xml_node FirstChildElement(pugi::xml_node parent, std::string_view name);

// The value of a data element: its own text, else the text of its first text or CDATA child.
std::string_view ValueOf(pugi::xml_node element);

// The paragraph or heading (text:p, text:h) that holds a node; empty when there is none.
pugi::xml_node EnclosingParagraph(pugi::xml_node node);

// The node after `node` in document order without leaving the subtree of `root`; empty at the end.
pugi::xml_node NextInSubtree(pugi::xml_node node, pugi::xml_node root);

} // namespace brisquel
