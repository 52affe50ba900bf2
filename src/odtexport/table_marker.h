#pragma once

#include <pugixml.hpp>

namespace brisquel {

// The table marker "#TableN#" of a template row: the first text run below the row (depth first) that
// holds "#Table" with a "#" after it decides. N is read from the characters between them (leading blanks
// skipped, digits up to the first other character; 0 when there are none). For N > 0 the marker is cut
// out of the text. Returns N, or -1 when no text of the row holds a table marker.
int FindTableMarker(pugi::xml_node row);

} // namespace brisquel
