// The degassing-gas recalculation in the gas-only mode: three analyses (FID of 1 000 000 samples and 300
// peaks, TCD-1, TCD-2), a blank and both controls, against reading every signal sample of the list once.
#include "core/app/session.h"
#include "gas_set.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace talvex::synth;

constexpr std::size_t kSamples = 1'000'000;
constexpr std::size_t kNamedFidPeaks = 32; // those of the gas set's FID run

struct Fixture {
    fs::path dir;
    talvex::MemorySettingsStore profile;
    std::unique_ptr<talvex::Session> session;
};

Fixture& Files() {
    static Fixture f;
    return f;
}

void WriteOrDie(const fs::path& path, const GasRunOptions& o) {
    std::string error;
    if (!WriteStg(path.string(), BuildGasRun(o), &error)) {
        std::cerr << "cannot write " << path << ": " << error << '\n';
        std::exit(1);
    }
}

void MakeSession() {
    Fixture& f = Files();
    f.dir = fs::temp_directory_path() / ("talvex-bench-s7-" + std::to_string(::getpid()));
    fs::create_directories(f.dir / "set");
    fs::copy(fs::path(TALVEX_SOURCE_DIR) / "data", f.dir / "data", fs::copy_options::recursive);
    std::vector<std::string> paths;
    const auto add = [&](const std::string& name, GasRunKind kind, GasDetector detector, std::int64_t time) {
        GasRunOptions o;
        o.kind = kind;
        o.detector = detector;
        o.seed = static_cast<std::uint64_t>(time);
        o.analysisTime = time;
        if (detector == GasDetector::Fid) {
            o.samples = kSamples;
            o.extraUnnamedPeaks = 300 - kNamedFidPeaks;
        }
        WriteOrDie(f.dir / "set" / name, o);
        paths.push_back((f.dir / "set" / name).string());
    };
    constexpr std::int64_t t0 = 1705309200;
    for (int i = 0; i < 3; ++i) {
        const std::int64_t t = t0 + 1800 * i;
        add("fid-" + std::to_string(i) + ".stg", GasRunKind::Sample, GasDetector::Fid, t);
        add("tcd1-" + std::to_string(i) + ".stg", GasRunKind::Sample, GasDetector::Tcd1, t + 2);
        add("tcd2-" + std::to_string(i) + ".stg", GasRunKind::Sample, GasDetector::Tcd2, t + 4);
    }
    add("blank.stg", GasRunKind::Blank, GasDetector::Fid, t0 - 1800);
    add("okp.stg", GasRunKind::ControlSample, GasDetector::Fid, t0 + 5400);
    add("okp-tcd1.stg", GasRunKind::ControlSample, GasDetector::Tcd1, t0 + 5402);
    add("okp-tcd2.stg", GasRunKind::ControlSample, GasDetector::Tcd2, t0 + 5404);
    add("oke.stg", GasRunKind::ControlStandard, GasDetector::Fid, t0 + 7200);
    f.profile.WriteInt("settings", "ModeCalc", 0);
    f.session = std::make_unique<talvex::Session>(f.profile, f.dir / "data");
    if (!f.session->LoadComponents().empty() || !f.session->AddFiles(paths) ||
        f.session->Section7().analyses.size() != 3) {
        std::cerr << "the gas session could not be set up\n";
        std::exit(1);
    }
}

void BM_ReadEverySampleOnce(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (const talvex::COpenedChmFile& c : Files().session->Chromatograms())
            for (const float y : c.signal.samples)
                sum += static_cast<double>(y);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadEverySampleOnce)->Unit(benchmark::kMillisecond);

void BM_RecalculateGasOnly(benchmark::State& state) {
    for (auto _ : state) {
        if (!Files().session->Recalculate())
            state.SkipWithError("recalculation failed");
        benchmark::DoNotOptimize(Files().session->Section7().rows[0].data());
    }
}
BENCHMARK(BM_RecalculateGasOnly)->Unit(benchmark::kMillisecond);

// The driver alone (sorting the list, reading the retention times, rendering the log): ModeCalc 5 runs
// no calculation.
void BM_RecalculateWithoutCalculation(benchmark::State& state) {
    Files().profile.WriteInt("settings", "ModeCalc", 5);
    for (auto _ : state)
        Files().session->Recalculate();
    Files().profile.WriteInt("settings", "ModeCalc", 0);
}
BENCHMARK(BM_RecalculateWithoutCalculation)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeSession();
    talvex::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double read = reporter.millis["BM_ReadEverySampleOnce"];
    const double recalc = reporter.millis["BM_RecalculateGasOnly"];
    const double driver = reporter.millis["BM_RecalculateWithoutCalculation"];
    if (driver > 0)
        std::cout << "of which the driver without any calculation: " << driver << " ms\n";
    std::cout << "gas recalculation: " << recalc << " ms; every sample read once: " << read << " ms\n";
    talvex::bench::PrintFigure("gas recalculation / one pass over its signals",
                               talvex::bench::Ratio(recalc, read), "<= 3");
    Files().session.reset();
    fs::remove_all(Files().dir);
    return 0;
}
