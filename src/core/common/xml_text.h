#pragma once

#include <string>
#include <string_view>

namespace talvex {

// Text as the content or an attribute value of an XML element (the SVG pictures): the five markup
// characters escaped, and the control characters XML does not allow at all replaced by a blank, so that a
// sample or component name read from a file can never make the picture unreadable.
std::string XmlEscape(std::string_view text);

} // namespace talvex
