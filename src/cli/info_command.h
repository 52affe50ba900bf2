#pragma once

#include <string>
#include <vector>

namespace talvex::cli {

// `talvex-cli info [--json] FILE.stg`: the passport description and the peak table of one file.
// Returns the exit status: 0 done, 1 the file cannot be loaded, 2 wrong usage.
int RunInfo(const std::vector<std::string>& args);

} // namespace talvex::cli
