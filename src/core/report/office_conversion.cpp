#include "core/report/office_conversion.h"

#include "core/common/child_process.h"
#include "core/common/data_file_io.h"

#include <sstream>

namespace talvex {
namespace {

// The last line the office suite printed, for the operator's error text.
std::string LastLine(const std::string& output) {
    std::istringstream lines(output);
    std::string line, last;
    while (std::getline(lines, line))
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            last = line;
    return last;
}

} // namespace

std::optional<std::filesystem::path> FindOfficeSuite() {
    if (auto found = FindProgram("soffice"))
        return found;
    return FindProgram("libreoffice");
}

bool ConvertWithOffice(const std::filesystem::path& input, const std::string& format,
                       const std::filesystem::path& output, std::chrono::milliseconds timeLimit,
                       std::string& error) {
    const std::optional<std::filesystem::path> office = FindOfficeSuite();
    if (!office) {
        error = "LibreOffice is not installed (no soffice on PATH); install libreoffice-writer-nogui to get "
                "the " +
                format + " file";
        return false;
    }
    TemporaryFolder work("talvex-office-");
    if (!work.Valid()) {
        error = "cannot create a temporary folder for the conversion";
        return false;
    }
    // The office suite names its output after its input: give it a plain copy to convert.
    std::error_code failure;
    const std::filesystem::path source = work.Path() / ("report" + input.extension().string());
    if (!std::filesystem::copy_file(input, source, failure)) {
        error = "cannot read " + input.string() + ": " + failure.message();
        return false;
    }
    const std::filesystem::path outFolder = work.Path() / "out";
    const ChildOutcome run =
        RunChild({office->string(), "-env:UserInstallation=" + FileUrl(work.Path() / "profile"), "--headless",
                  "--invisible", "--norestore", "--nologo", "--nodefault", "--convert-to", format, "--outdir",
                  outFolder.string(), source.string()},
                 timeLimit);
    const std::filesystem::path converted = outFolder / ("report." + format);
    if (!run.started) {
        error = "cannot start " + office->string();
        return false;
    }
    if (run.timedOut) {
        error = "LibreOffice did not finish the conversion within " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count()) +
                " s and was stopped";
        return false;
    }
    if (!std::filesystem::is_regular_file(converted, failure) ||
        std::filesystem::file_size(converted, failure) == 0) {
        const std::string said = LastLine(run.output);
        error = "LibreOffice could not convert the report to " + format +
                (said.empty() ? std::string() : ": " + said);
        return false;
    }
    std::string bytes;
    return ReadFileFrom(converted, 0, bytes, &error) && WriteFileAtomically(output, bytes, &error);
}

} // namespace talvex
