#pragma once

#include <string>
#include <string_view>

namespace talvex {

// Numbers in the program's text files and typed fields, independent of the process locale.

// Reads text the way the C library's atof does in the "C" locale: leading blanks (space, \t, \n, \v, \f,
// \r) are skipped, then the longest prefix that forms a number is taken — an optional sign, then a decimal
// number with an optional exponent ("1e3", ".5", "+1.5"), a hexadecimal one ("0x1p4"), "inf", "infinity" or
// "nan" in any case. Anything after that prefix is ignored ("12,5" reads as 12). Text without such a
// prefix reads as 0. Values too large for a double read as +/-infinity, too small ones as +/-0.
double ParseAtof(std::string_view text);

// The value as "%.*f" prints it in the "C" locale: `decimals` digits after a decimal point, rounded
// correctly; "inf", "-inf", "nan" for the special values. Negative `decimals` counts as 0.
std::string FormatFixed(double value, int decimals);

// The value in fixed notation with at least `decimals` digits after the point, and more where fewer would
// not read back (by the atof rules) as exactly this value: 20.95 with 3 gives "20.950", 0.05 with 1 gives
// "0.05". For values kept as text that must not lose what the operator typed.
std::string FormatFixedExact(double value, int decimals);

// The value as "%.*g" prints it in the "C" locale: `precision` significant digits (0 counts as 1), trailing
// zeros dropped, an exponent where printf uses one ("1e+06").
std::string FormatGeneral(double value, int precision);

// A number the operator typed into a field or a cell: every "," counts as ".", the value is read by the
// atof rules and the field shows it again with as many decimals as characters followed the first point
// ("1,5" -> 1.5 shown "1.5"; "3.10" stays "3.10"; "12." -> "12"; text without a number -> 0 shown "0").
struct TypedNumber {
    double value = 0.0;
    int decimals = 0;
    std::string shown;
};
TypedNumber ReadTypedNumber(std::string_view typed);

// Whether typed text starts with a number, "," counting as ".": after blanks and at most one sign, the atof
// rules find a number there ("12,5", " -3", ".5", "7 g", "1e3", "inf" and "nan" do; "abc", "", "-", ".",
// "+-1", "g7" do not). ReadTypedNumber takes text that does not as 0; callers that must not take such text
// as a value ask here first.
bool StartsWithNumber(std::string_view typed);

} // namespace talvex
