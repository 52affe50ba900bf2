// Reading chromatogram files: a full load of a long run against a plain read of the same bytes, and the
// passport-only read of a folder of 1 000 files that the chromatogram browser does on every folder change.
#include "core/chromatogram/chm_file.h"
#include "long_run.h"
#include "stg_writer.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Fixture {
    fs::path dir;
    fs::path bigFile;
    fs::path tenTimesFile; // 10 000 000 samples, 10 000 peaks
    fs::path folder;
};

Fixture& Files() {
    static Fixture f;
    return f;
}

void WriteOrDie(const fs::path& path, const talvex::synth::StgContent& content) {
    std::string error;
    if (!talvex::synth::WriteStg(path.string(), content, &error)) {
        std::cerr << "cannot write " << path << ": " << error << '\n';
        std::exit(1);
    }
}

void MakeFiles() {
    using namespace talvex::synth;
    Fixture& f = Files();
    f.dir = fs::temp_directory_path() / ("talvex-bench-" + std::to_string(::getpid()));
    f.folder = f.dir / "folder";
    fs::create_directories(f.folder);

    const StgContent big = talvex::bench::LongRun();
    f.bigFile = f.dir / "big.stg";
    WriteOrDie(f.bigFile, big);
    f.tenTimesFile = f.dir / "ten-times.stg";
    WriteOrDie(f.tenTimesFile, talvex::bench::LongRun(10'000'000));

    StgContent small;
    small.passport.method = "ПИД ГД";
    small.samples.assign(6000, 1.0f);
    for (int i = 0; i < 1000; ++i) {
        small.passport.sampleName = "Проба " + std::to_string(i);
        small.passport.analysisTime = 1'700'000'000 + 60 * i;
        WriteOrDie(f.folder / ("run-" + std::to_string(i) + ".stg"), small);
    }
}

void BM_PlainReadOfTheFile(benchmark::State& state) {
    talvex::bench::PlainRead(state, Files().bigFile);
}
BENCHMARK(BM_PlainReadOfTheFile)->Unit(benchmark::kMillisecond);

void FullLoad(benchmark::State& state, const fs::path& file) {
    for (auto _ : state) {
        talvex::CChmFile chm;
        if (!chm.Load(file.string()))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(chm.peaks.data());
    }
}

void BM_FullLoad_1M_Samples_1000_Peaks(benchmark::State& state) {
    FullLoad(state, Files().bigFile);
}
BENCHMARK(BM_FullLoad_1M_Samples_1000_Peaks)->Unit(benchmark::kMillisecond);

void BM_FullLoad_10M_Samples_10000_Peaks(benchmark::State& state) {
    FullLoad(state, Files().tenTimesFile);
}
BENCHMARK(BM_FullLoad_10M_Samples_10000_Peaks)->Unit(benchmark::kMillisecond);

void BM_PassportOnlyReadOf1000Files(benchmark::State& state) {
    talvex::bench::PassportScan(state, Files().folder, 1000);
}
BENCHMARK(BM_PassportOnlyReadOf1000Files)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeFiles();
    std::cout << "big file: " << fs::file_size(Files().bigFile)
              << " bytes (1 000 000 samples, 1 000 peaks)\n";
    talvex::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.millis["BM_PlainReadOfTheFile"];
    const double load = reporter.millis["BM_FullLoad_1M_Samples_1000_Peaks"];
    const double folder = reporter.millis["BM_PassportOnlyReadOf1000Files"];
    const double tenTimes = reporter.millis["BM_FullLoad_10M_Samples_10000_Peaks"];
    using talvex::bench::PrintFigure;
    std::cout << "full load " << load << " ms, plain read " << plain << " ms\n";
    PrintFigure("load of 1 M samples and 1 000 peaks / plain read", talvex::bench::Ratio(load, plain),
                "<= 5");
    PrintFigure("load of 10 times the samples and peaks / load", talvex::bench::Ratio(tenTimes, load),
                "<= 11");
    PrintFigure("passport-only read of 1 000 files, ms", folder, "< 300");
    fs::remove_all(Files().dir);
    return 0;
}
