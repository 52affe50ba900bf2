#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace talvex {

// A number the operator typed into a cell of a reference-data editor. "---" (any case) or an empty text
// clears the value (NotSet) and the cell keeps the text as typed; otherwise "," counts as ".", the value
// is read by the atof rules and the cell shows it with as many decimals as the text had after its first
// point ("12,5" -> 12.5 shown "12.5"). A value that counts as missing (nan, -inf) is stored as NotSet and
// shown as "---", so the tables never hold another marker of a missing number.
// Returns the stored value and the text the cell shows; nothing when the text does not start with a
// number (StartsWithNumber): such a text is refused and the cell keeps its old value.
std::optional<std::pair<double, std::string>> NormaliseTypedCell(std::string_view typed);

// What the editors tell the operator when NormaliseTypedCell refused `typed`.
std::string NotANumberMessage(std::string_view typed);

} // namespace talvex
