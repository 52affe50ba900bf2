#pragma once

#include <string>
#include <vector>

namespace talvex::testing {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program of the build (bin/NAME) with the arguments, no shell involved, and collects its
// exit status and both output streams.
CommandResult RunProgram(const std::string& name, const std::vector<std::string>& args);

} // namespace talvex::testing
