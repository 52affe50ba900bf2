// talvex-synth: writes synthetic chromatogram files for tests, the demo and benchmarks.
#include "andi_output.h"
#include "command_line.h"
#include "sample_sets.h"
#include "stg_writer.h"
#include "synthetic_run.h"
#include "utc_time.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

using namespace talvex::synth;

constexpr std::int64_t kSecondsBetweenRuns = 60;

void Fail(const std::string& message) {
    std::fprintf(stderr, "talvex-synth: %s\n", message.c_str());
}

bool WriteRun(const std::string& path, const RunOptions& run) {
    std::string error;
    if (WriteStg(path, BuildRun(run), &error))
        return true;
    Fail(error);
    return false;
}

// run-0001.stg, ...; the number is widened when the count needs more than four digits.
std::string RunFileName(std::size_t i, std::size_t count) {
    const int width = std::max<int>(4, static_cast<int>(std::to_string(count).size()));
    char name[64];
    std::snprintf(name, sizeof name, "run-%0*zu.stg", width, i);
    return name;
}

bool WriteFolder(const CommandLine& c) {
    std::error_code ec;
    std::filesystem::create_directories(c.folder, ec);
    if (ec) {
        Fail(c.folder + ": " + ec.message());
        return false;
    }
    for (std::size_t i = 1; i <= c.count; ++i) {
        RunOptions run = c.run;
        run.seed = c.run.seed + (i - 1);
        run.analysisTime = c.run.analysisTime + static_cast<std::int64_t>(i - 1) * kSecondsBetweenRuns;
        run.samplingTime = c.run.samplingTime.value_or(StartOfUtcDay(c.run.analysisTime));
        run.seriesNo = static_cast<std::int32_t>(i);
        if (!WriteRun((std::filesystem::path(c.folder) / RunFileName(i, c.count)).string(), run))
            return false;
    }
    return true;
}

bool WriteSet(const CommandLine& c) {
    std::error_code ec;
    std::filesystem::create_directories(c.folder, ec);
    if (ec) {
        Fail(c.folder + ": " + ec.message());
        return false;
    }
    std::string error;
    if (FindSampleSet(c.set)->write(c.folder, c.run.seed, &error))
        return true;
    Fail(error);
    return false;
}

// ANDI files are the .stg files of the same options, written into a scratch folder and converted.
bool WriteAndi(const CommandLine& c) {
    const ScratchFolder scratch;
    CommandLine staged = c;
    std::string error;
    bool ok = false;
    if (c.folder.empty()) {
        const std::filesystem::path stg = scratch.path() / "run.stg";
        ok = WriteRun(stg.string(), c.run) && StgToAndi(stg, c.output, &error);
    } else {
        std::error_code ec;
        std::filesystem::create_directories(c.folder, ec);
        if (ec) {
            Fail(c.folder + ": " + ec.message());
            return false;
        }
        staged.folder = scratch.path().string();
        ok = (c.set.empty() ? WriteFolder(staged) : WriteSet(staged)) &&
             StgFolderToAndi(scratch.path(), c.folder, &error);
    }
    if (!ok && !error.empty())
        Fail(error);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    CommandLine c;
    try {
        c = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        Fail(e.what());
        std::fputs(UsageText().c_str(), stderr);
        return 2;
    }
    if (c.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    try {
        if (c.andi)
            return WriteAndi(c) ? 0 : 1;
        if (!c.set.empty())
            return WriteSet(c) ? 0 : 1;
        return (c.folder.empty() ? WriteRun(c.output, c.run) : WriteFolder(c)) ? 0 : 1;
    } catch (const std::exception& e) {
        Fail(e.what());
        return 1;
    }
}
