#pragma once

#include <string>
#include <vector>

namespace talvex::cli {

// `talvex-cli archive list|show|flush|import-controls|phase …`: reads and writes the results archive.
int RunArchive(const std::vector<std::string>& args);

} // namespace talvex::cli
