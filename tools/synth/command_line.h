#pragma once

#include "synthetic_run.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace talvex::synth {

// Wrong usage of talvex-synth; the message names the problem in one line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    RunOptions run;
    std::string output; // one file
    std::string folder; // or a folder of `count` files
    std::size_t count = 0;
    std::string set;   // or a named sample set written into `folder`
    bool andi = false; // --format cdf: ANDI/AIA chromatography files instead of .stg
    bool help = false;
};

// Reads the arguments after the program name; options take their value as the next argument or after
// '='. Numbers are read with the decimal point whatever the locale. Throws UsageError.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

} // namespace talvex::synth
