#pragma once

#include <string>
#include <string_view>

namespace talvex {

// Case-insensitive matching of names, passport texts and paths: Cyrillic (А-Я, Ё) and Latin capitals fold
// alike, one character to one character, independently of the process locale, which is never switched.
// Invalid UTF-8 takes part as U+FFFD.

// The text's UTF-16 form with every character case-folded, for substring searches.
std::u16string FoldCaseUtf16(std::string_view utf8);

// Whether two UTF-8 texts are equal regardless of letter case ("МЕТАН" equals "Метан", "F60-70" equals
// "f60-70"). Allocates nothing: every peak of every chromatogram is looked up by name.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace talvex
