#pragma once

#include <string>
#include <vector>

namespace talvex::cli {

// `talvex-cli convert FILE OUT.cdf`: writes one chromatogram (a `.stg` or an ANDI file) as an ANDI/AIA
// chromatography file for other chromatography programs. Exit status 0, 1 when the file cannot be read or
// written (the reason on stderr), 2 on wrong usage.
int RunConvert(const std::vector<std::string>& args);

} // namespace talvex::cli
