#pragma once

#include <string>
#include <vector>

namespace talvex::cli {

// `talvex-cli run [OPTIONS] FILE.stg...`: adds the files as the add operation does, recalculates once and
// writes what the options ask for. Returns the exit status: 0 done, 1 a failure the operator must see
// (the text on stderr), 2 wrong usage.
int RunRun(const std::vector<std::string>& args);

} // namespace talvex::cli
