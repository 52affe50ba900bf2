// Reading ANDI/AIA chromatography files: the load of a long run beside the .stg load of the same data and a
// plain read of the ANDI file's bytes, and the passport-only read of a folder of 1 000 ANDI files that the
// chromatogram browser does on every folder change.
#include "core/chromatogram/andi_file.h"
#include "core/chromatogram/chm_file.h"
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

struct Fixture {
    fs::path dir;
    fs::path bigStg;
    fs::path bigAndi;
    fs::path folder;
};

Fixture& Files() {
    static Fixture f;
    return f;
}

[[noreturn]] void Die(const std::string& message) {
    std::cerr << message << '\n';
    std::exit(1);
}

// The .stg file as written, then the same chromatogram as an ANDI file.
void WritePair(const fs::path& stg, const fs::path& andi, const talvex::synth::StgContent& content) {
    std::string error;
    if (!talvex::synth::WriteStg(stg.string(), content, &error))
        Die("cannot write " + stg.string() + ": " + error);
    talvex::CChmFile chm;
    if (!chm.Load(stg.string()) || !talvex::WriteAndiFile(andi.string(), chm, &error))
        Die("cannot convert " + stg.string() + ": " + error);
}

void MakeFiles() {
    Fixture& f = Files();
    f.dir = fs::temp_directory_path() / ("talvex-andi-bench-" + std::to_string(::getpid()));
    f.folder = f.dir / "folder";
    fs::create_directories(f.folder);
    f.bigStg = f.dir / "big.stg";
    f.bigAndi = f.dir / "big.cdf";
    WritePair(f.bigStg, f.bigAndi, talvex::bench::LongRun());

    talvex::synth::StgContent small;
    small.passport.method = "ПИД ГД";
    small.samples.assign(6000, 1.0f);
    const fs::path scratch = f.dir / "scratch.stg";
    for (int i = 0; i < 1000; ++i) {
        small.passport.sampleName = "Проба " + std::to_string(i);
        small.passport.analysisTime = 1'700'000'000 + 60 * i;
        WritePair(scratch, f.folder / ("run-" + std::to_string(i) + ".cdf"), small);
    }
    fs::remove(scratch);
}

void BM_PlainReadOfTheAndiFile(benchmark::State& state) {
    talvex::bench::PlainRead(state, Files().bigAndi);
}
BENCHMARK(BM_PlainReadOfTheAndiFile)->Unit(benchmark::kMillisecond);

void Load(benchmark::State& state, const fs::path& path) {
    for (auto _ : state) {
        talvex::CChmFile chm;
        if (!chm.Load(path.string()))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(chm.peaks.data());
    }
}

void BM_StgLoad_1M_Samples_1000_Peaks(benchmark::State& state) {
    Load(state, Files().bigStg);
}
BENCHMARK(BM_StgLoad_1M_Samples_1000_Peaks)->Unit(benchmark::kMillisecond);

void BM_AndiLoad_1M_Samples_1000_Peaks(benchmark::State& state) {
    Load(state, Files().bigAndi);
}
BENCHMARK(BM_AndiLoad_1M_Samples_1000_Peaks)->Unit(benchmark::kMillisecond);

void BM_AndiPassportOnlyReadOf1000Files(benchmark::State& state) {
    talvex::bench::PassportScan(state, Files().folder, 1000);
}
BENCHMARK(BM_AndiPassportOnlyReadOf1000Files)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeFiles();
    std::cout << "ANDI file: " << fs::file_size(Files().bigAndi)
              << " bytes, .stg file: " << fs::file_size(Files().bigStg)
              << " bytes (1 000 000 samples, 1 000 peaks)\n";
    talvex::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.millis["BM_PlainReadOfTheAndiFile"];
    const double stg = reporter.millis["BM_StgLoad_1M_Samples_1000_Peaks"];
    const double andi = reporter.millis["BM_AndiLoad_1M_Samples_1000_Peaks"];
    const double folder = reporter.millis["BM_AndiPassportOnlyReadOf1000Files"];
    if (stg > 0 && andi > 0)
        std::cout << "ANDI load / .stg load: " << andi << " ms / " << stg << " ms = " << andi / stg
                  << " (target: within 1.5)\n";
    if (plain > 0 && andi > 0)
        std::cout << "ANDI load / plain read: " << andi << " ms / " << plain << " ms = " << andi / plain
                  << '\n';
    if (folder > 0)
        std::cout << "passport-only read of 1000 ANDI files: " << folder << " ms (target: under 300 ms)\n";
    fs::remove_all(Files().dir);
    return 0;
}
