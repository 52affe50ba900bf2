// Sessions: saving and opening the example session, the SHA-256 of 21 long runs (1 000 000 samples each)
// that a session and the results' provenance take, beside a plain read of the same bytes; the memory a
// session of those 21 runs holds against their size; and adding 10 times the files to a session.
#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/app/session_file.h"
#include "core/app/session_replay.h"
#include "core/common/settings_store.h"
#include "core/common/sha256.h"
#include "long_run.h"
#include "stg_writer.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kLongRuns = 21;
constexpr int kShortRuns = 210; // 100 000 samples each: the growth with the number of files

struct Fixture {
    fs::path dir;
    std::vector<fs::path> longRuns;
    std::vector<std::string> shortRuns;
};

Fixture& Files() {
    static Fixture f;
    return f;
}

[[noreturn]] void Die(const std::string& message) {
    std::cerr << message << '\n';
    std::exit(1);
}

void MakeFiles() {
    Fixture& f = Files();
    f.dir = fs::temp_directory_path() / ("talvex-session-bench-" + std::to_string(::getpid()));
    fs::create_directories(f.dir);
    const talvex::synth::StgContent run = talvex::bench::LongRun();
    const fs::path first = f.dir / "run-0.stg";
    std::string error;
    if (!talvex::synth::WriteStg(first.string(), run, &error))
        Die("cannot write " + first.string() + ": " + error);
    f.longRuns.push_back(first);
    for (int i = 1; i < kLongRuns; ++i) {
        f.longRuns.push_back(f.dir / ("run-" + std::to_string(i) + ".stg"));
        fs::copy_file(first, f.longRuns.back());
    }
    const fs::path firstShort = f.dir / "short-0.stg";
    if (!talvex::synth::WriteStg(firstShort.string(), talvex::bench::LongRun(100'000), &error))
        Die("cannot write " + firstShort.string() + ": " + error);
    f.shortRuns.push_back(firstShort.string());
    for (int i = 1; i < kShortRuns; ++i) {
        f.shortRuns.push_back((f.dir / ("short-" + std::to_string(i) + ".stg")).string());
        fs::copy_file(firstShort, f.shortRuns.back());
    }
}

// The resident memory of this process, in bytes.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// The example session as the demo runs it, recalculated.
struct ExampleSession {
    talvex::MemorySettingsStore profile;
    talvex::Session session{profile, fs::path(TALVEX_SOURCE_DIR) / "data"};
    ExampleSession() {
        if (!session.LoadComponents().empty() || !talvex::TypeExampleDegassing(session.Degassing(), 3) ||
            !session.AddFiles(talvex::ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")))
            Die("the example session cannot be run");
    }
};

void BM_SaveTheExampleSession(benchmark::State& state) {
    ExampleSession example;
    const fs::path file = Files().dir / "example.tlvx";
    for (auto _ : state) {
        std::string error;
        const auto record = talvex::CaptureSession(example.session, "ГХ-2", file, 1709626029, error);
        if (!record || !talvex::WriteSessionFile(file, *record, error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_SaveTheExampleSession)->Unit(benchmark::kMillisecond);

// Reading the file, finding and checking every run, then the whole calculation again.
void BM_OpenTheExampleSession(benchmark::State& state) {
    const fs::path file = Files().dir / "example.tlvx";
    {
        ExampleSession example;
        std::string error;
        const auto record = talvex::CaptureSession(example.session, "ГХ-2", file, 1709626029, error);
        if (!record || !talvex::WriteSessionFile(file, *record, error))
            Die(error);
    }
    for (auto _ : state) {
        std::string error;
        const auto record = talvex::ReadSessionFile(file, error);
        if (!record) {
            state.SkipWithError(error.c_str());
            break;
        }
        talvex::MemorySettingsStore profile;
        talvex::WriteSessionSettings(*record, profile);
        talvex::Session session(profile, talvex::SessionDataFolder(*record, file, "nowhere"));
        session.LoadComponents();
        talvex::RestoreDegassing(*record, session.Degassing(), 3);
        const talvex::ResolvedFiles files = talvex::ResolveSessionFiles(*record, file);
        talvex::CheckDataFiles(*record, session.DataFolder());
        if (!files.problems.empty() || !session.AddFiles(files.paths))
            state.SkipWithError("the example session did not open whole");
    }
}
BENCHMARK(BM_OpenTheExampleSession)->Unit(benchmark::kMillisecond);

// A session of the first `state.range(0)` short runs: components read, files added and recalculated.
void BM_SessionOfShortRuns(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<std::string> paths(Files().shortRuns.begin(), Files().shortRuns.begin() + count);
    for (auto _ : state) {
        talvex::MemorySettingsStore profile;
        talvex::Session session(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
        session.LoadComponents();
        session.AddFiles(paths);
        if (session.Chromatograms().size() != count)
            state.SkipWithError("a run was left out");
    }
}
BENCHMARK(BM_SessionOfShortRuns)->Arg(kShortRuns / 10)->Arg(kShortRuns)->Unit(benchmark::kMillisecond);

void BM_Sha256Of21LongRuns(benchmark::State& state) {
    for (auto _ : state)
        for (const fs::path& run : Files().longRuns)
            benchmark::DoNotOptimize(talvex::Sha256OfFile(run.string()));
}
BENCHMARK(BM_Sha256Of21LongRuns)->Unit(benchmark::kMillisecond);

void BM_PlainReadOf21LongRuns(benchmark::State& state) {
    for (auto _ : state)
        for (const fs::path& run : Files().longRuns) {
            std::ifstream in(run, std::ios::binary);
            std::vector<char> bytes(fs::file_size(run));
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            benchmark::DoNotOptimize(bytes.data());
        }
}
BENCHMARK(BM_PlainReadOf21LongRuns)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeFiles();
    std::cout << kLongRuns << " long runs of " << fs::file_size(Files().longRuns.front())
              << " bytes each (1 000 000 samples, 1 000 peaks)\n";
    talvex::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double hash = reporter.millis["BM_Sha256Of21LongRuns"];
    const double plain = reporter.millis["BM_PlainReadOf21LongRuns"];
    if (hash > 0 && plain > 0)
        std::cout << "SHA-256 of 21 long runs / plain read: " << hash << " ms / " << plain
                  << " ms = " << hash / plain << " (target: under 2)\n";
    std::cout << "save the example session: " << reporter.millis["BM_SaveTheExampleSession"]
              << " ms; open and recalculate it: " << reporter.millis["BM_OpenTheExampleSession"] << " ms\n";
    const double fewFiles = reporter.millis["BM_SessionOfShortRuns/" + std::to_string(kShortRuns / 10)];
    const double manyFiles = reporter.millis["BM_SessionOfShortRuns/" + std::to_string(kShortRuns)];
    talvex::bench::PrintFigure("session of 10 times the files / session",
                               talvex::bench::Ratio(manyFiles, fewFiles), "<= 11");
    {
        double fileBytes = 0;
        std::vector<std::string> paths;
        for (const fs::path& run : Files().longRuns) {
            fileBytes += static_cast<double>(fs::file_size(run));
            paths.push_back(run.string());
        }
        talvex::MemorySettingsStore profile;
        ::malloc_trim(0); // memory freed by the benchmarks goes back first, so that only the session counts
        const double before = ResidentBytes();
        talvex::Session session(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
        session.LoadComponents();
        session.AddFiles(paths);
        const double held = ResidentBytes() - before;
        std::cout << "a session of " << session.Chromatograms().size() << " long runs holds "
                  << held / 1048576 << " MiB for " << fileBytes / 1048576 << " MiB of files\n";
        talvex::bench::PrintFigure("memory of a session of 21 long runs / their files' size",
                                   held / fileBytes, "< 3");
    }
    fs::remove_all(Files().dir);
    return 0;
}
