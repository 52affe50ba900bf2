#pragma once

#include <string>

namespace talvex {

// printf-style formatting into a std::string. The process locale is never switched, so numbers always
// carry a decimal point.
std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace talvex
