#include "cli/convert_command.h"

#include "core/chromatogram/andi_file.h"
#include "core/chromatogram/chm_file.h"
#include "core/chromatogram/chromatogram_path.h"

#include <iostream>

namespace talvex::cli {

int RunConvert(const std::vector<std::string>& args) {
    if (args.size() != 2 || !IsAndiPath(args[1]) || args[0].empty() || args[0][0] == '-') {
        std::cerr << "talvex-cli: usage: talvex-cli convert FILE.stg OUT.cdf\n";
        return 2;
    }
    const std::string& in = args[0];
    CChmFile chm;
    if (const ReadResult read = chm.Load(in); !read) {
        std::cerr << "talvex-cli: " << in << ": " << read.reason << '\n';
        return 1;
    }
    std::string error;
    if (!WriteAndiFile(args[1], chm, &error)) {
        std::cerr << "talvex-cli: " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace talvex::cli
