#pragma once

#include <pugixml.hpp>

namespace brisquel {

// Word processors split text into runs, so "#Name" may sit in one text run and "Comp#" in a later one.
// When a text node holds a single "#", the text of the following runs of the same paragraph (the node's
// next siblings, or its parent's when it is the last child; of an element, its first child) is joined
// to it up to and including the next "#". The runs taken whole are removed; the run holding that "#"
// keeps what follows it. The join never leaves the paragraph or heading and removes nothing but text
// runs; when no "#" follows within reach, nothing changes.
void JoinSplitMarker(pugi::xml_node node);

} // namespace brisquel
