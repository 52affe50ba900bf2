// Sessions: saving and opening the example session, and the SHA-256 of 21 long runs (1 000 000 samples
// each) that a session and the results' provenance take, beside a plain read of the same bytes.
#include "app/example_session.h"
#include "app/session.h"
#include "app/session_file.h"
#include "app/session_replay.h"
#include "common/settings_store.h"
#include "common/sha256.h"
#include "long_run.h"
#include "stg_writer.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kLongRuns = 21;

struct Fixture {
    fs::path dir;
    std::vector<fs::path> longRuns;
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
    fs::remove_all(Files().dir);
    return 0;
}
