#pragma once

#include <filesystem>

namespace talvex::gui {

// Loads the example session (every .stg of `examples`, the data of `dataFolder`, the degassing inputs of
// the demo) into a main window on an in-memory profile and saves a PNG of every page into `outFolder`.
// Returns the process exit status: 0 when every picture was written.
int SaveScreenshots(const std::filesystem::path& outFolder, const std::filesystem::path& examples,
                    const std::filesystem::path& dataFolder);

} // namespace talvex::gui
