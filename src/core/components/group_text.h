#pragma once

#include <string>
#include <string_view>

namespace talvex {

// A part of a component's group text. The text holds parts separated by ", " (comma and blank); a part
// that begins with the Latin capital "F" names a boiling fraction ("F60-70"), any other part names a
// component. Parts of one or two characters never count.
//
// Returns the first fraction part when `wantFraction` is true, otherwise the first component part; an
// empty string when there is none. PickGroupPart("н-Бутан, F60-70", true) is "F60-70".
std::string PickGroupPart(std::string_view text, bool wantFraction);

} // namespace talvex
