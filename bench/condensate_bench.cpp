// The full recalculation in liquid-only mode over a condensate series of long runs: three analyses of
// 1 000 000 samples and about 800 peaks each, a blank, a calibration and both controls; against the time
// to read every signal sample of those runs once.
#include "condensate_set.h"
#include "core/app/session.h"
#include "core/common/settings.h"
#include "stg_writer.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace talvex;

struct Fixture {
    fs::path dir;
    MemorySettingsStore profile;
    std::unique_ptr<Session> session;
};

Fixture& Series() {
    static Fixture f;
    if (f.session)
        return f;
    std::string pattern = (fs::temp_directory_path() / "talvex-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::exit(1);
    f.dir = pattern;
    using synth::CondensateRunKind;
    const struct {
        const char* file;
        CondensateRunKind kind;
    } runs[] = {
        {"blank.stg", CondensateRunKind::Blank},        {"calibration.stg", CondensateRunKind::Calibration},
        {"sample-1.stg", CondensateRunKind::Sample},    {"sample-2.stg", CondensateRunKind::Sample},
        {"sample-3.stg", CondensateRunKind::Sample},    {"okp.stg", CondensateRunKind::ControlSample},
        {"oke.stg", CondensateRunKind::ControlStandard}};
    std::vector<std::string> paths;
    std::int64_t time = 1705392000;
    std::uint64_t seed = 0;
    for (const auto& run : runs) {
        synth::CondensateRunOptions o;
        o.kind = run.kind;
        o.seed = ++seed;
        o.samples = 1000000;
        o.unnamedPerInterval = 21; // 5 light + 36 n-paraffins + 36 × 21 unnamed = 797 peaks
        o.analysisTime = time += 5400;
        std::string error;
        paths.push_back((f.dir / run.file).string());
        if (!synth::WriteStg(paths.back(), synth::BuildCondensateRun(o), &error)) {
            std::cerr << error << '\n';
            std::exit(1);
        }
    }
    f.profile.WriteInt(kSettingsSection, kKeyModeCalc, kModeLiquidOnly);
    f.session = std::make_unique<Session>(f.profile, fs::path(TALVEX_SOURCE_DIR) / "data");
    f.session->LoadComponents();
    if (!f.session->AddFiles(paths) || f.session->Condensate().analyses.size() != 3) {
        std::cerr << "the condensate series did not load\n";
        std::exit(1);
    }
    return f;
}

void BM_ReadEverySampleOnce(benchmark::State& state) {
    const Session& session = *Series().session;
    for (auto _ : state) {
        double sum = 0.0;
        for (const COpenedChmFile& c : session.Chromatograms())
            for (const float x : c.signal.samples)
                sum += x;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadEverySampleOnce)->Unit(benchmark::kMillisecond);

void BM_RecalculateCondensate(benchmark::State& state) {
    Session& session = *Series().session;
    for (auto _ : state)
        benchmark::DoNotOptimize(session.Recalculate());
    state.counters["peaks"] = static_cast<double>(session.Chromatograms().front().peaks.size());
}
BENCHMARK(BM_RecalculateCondensate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double read = reporter.millis["BM_ReadEverySampleOnce"];
    const double recalc = reporter.millis["BM_RecalculateCondensate"];
    std::cout << "condensate recalculation: " << recalc << " ms; every sample read once: " << read << " ms\n";
    bench::PrintFigure("condensate recalculation / one pass over its signals", bench::Ratio(recalc, read),
                       "<= 2");
    benchmark::Shutdown();
    std::error_code ec;
    if (!Series().dir.empty())
        fs::remove_all(Series().dir, ec);
    return 0;
}
