#pragma once

#include <string>

namespace talvex {

// printf-style formatting into a std::string, for integers and texts. A number with decimals is written
// by FormatFixed, FormatGeneral or FormatValue instead: printf's point follows the process's numeric
// locale, which a desktop toolkit may have set from the environment (a comma under ru_RU).
std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The one number formatter of every result table, page and report: "---" for a missing value (NotSet, and
// anything not above it: -inf, NaN), otherwise "%.*f" with the given decimals (QtyNumAfterDot).
std::string FormatValue(double value, int decimals);

// FormatValue as the report document writes it: the same digits with a decimal comma ("12,345", "---").
std::string FormatReportValue(double value, int decimals);

} // namespace talvex
