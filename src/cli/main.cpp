// talvex-cli: the Talvex session without a window.
#include "cli/archive_command.h"
#include "cli/chart_command.h"
#include "cli/convert_command.h"
#include "cli/info_command.h"
#include "cli/run_command.h"

#include "core/app/data_folder.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: talvex-cli info [--json] FILE.stg\n"
                               "       talvex-cli run [OPTIONS] FILE.stg...\n"
                               "       talvex-cli convert FILE.stg OUT.cdf\n"
                               "       talvex-cli archive list|show|flush|import-controls|phase ...\n"
                               "       talvex-cli chart --archive URL --kind okp|oke --medium gas|condensate "
                               "--component NAME [OPTIONS]\n"
                               "       talvex-cli --version\n";

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "info")
        return talvex::cli::RunInfo(rest);
    if (args[0] == "run")
        return talvex::cli::RunRun(rest);
    if (args[0] == "archive")
        return talvex::cli::RunArchive(rest);
    if (args[0] == "chart")
        return talvex::cli::RunChart(rest);
    if (args[0] == "convert")
        return talvex::cli::RunConvert(rest);
    if (args[0] == "--version" && rest.empty()) {
        std::cout << "talvex-cli " << talvex::ProgramVersion() << '\n';
        return 0;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << "talvex-cli: unknown command '" << args[0] << "'\n" << kUsage;
    return 2;
}
