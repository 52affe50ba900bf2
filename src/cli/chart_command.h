#pragma once

#include "core/controlchart/control_observation.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace talvex::cli {

// What `talvex-cli chart` was asked to do.
struct ChartOptions {
    std::string archive;
    controlchart::SeriesQuery query;
    bool json = false;
    std::optional<std::string> csvFile, pngFile, pdfFile, svgFile;
};

// Parses the arguments after "chart". On wrong usage returns nothing and sets `error` to the reason.
// --list defaults to "component" for the gas ОКП and "A" for the condensate ОКП; ОКЭ takes none.
// --from and --to take a date as the import does; a --to without a time takes that whole day.
std::optional<ChartOptions> ParseChartOptions(const std::vector<std::string>& args, std::string& error);

// Builds the chart from `source` and writes what the options ask for; without any output option a
// summary for the operator goes to `out`. `paintLibrary` draws PNG and PDF. Returns the exit status:
// 0 done, 1 a file that cannot be written or a picture that cannot be drawn.
int WriteChart(const ChartOptions& options, controlchart::ControlSource& source,
               const std::filesystem::path& paintLibrary, std::ostream& out, std::ostream& err);

// `talvex-cli chart ...`: parses, opens the archive and runs WriteChart. 2 for wrong usage, 1 when the
// archive cannot be opened.
int RunChart(const std::vector<std::string>& args);

} // namespace talvex::cli
