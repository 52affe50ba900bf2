// The boiling curves (condensate result and per analysis, unstable liquid) of the example session and of a
// condensate series of three analyses of 1 000 000 samples, beside that series' recalculation: the curves
// are built from the results, so they must cost far less than the recalculation itself.
#include "condensate_set.h"
#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings.h"
#include "core/curve/composition_curves.h"
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

struct Loaded {
    fs::path dir;
    MemorySettingsStore profile;
    std::unique_ptr<Session> session;
};

[[noreturn]] void Die(const std::string& message) {
    std::cerr << message << '\n';
    std::exit(1);
}

Loaded& Example() {
    static Loaded l;
    if (l.session)
        return l;
    l.session = std::make_unique<Session>(l.profile, fs::path(TALVEX_SOURCE_DIR) / "data");
    if (!l.session->LoadComponents().empty() || !TypeExampleDegassing(l.session->Degassing(), 3) ||
        !l.session->AddFiles(ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")))
        Die("the example session cannot be run");
    return l;
}

Loaded& LongSeries() {
    static Loaded l;
    if (l.session)
        return l;
    std::string pattern = (fs::temp_directory_path() / "talvex-curve-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        Die("cannot make a temporary folder");
    l.dir = pattern;
    using synth::CondensateRunKind;
    std::vector<std::string> paths;
    std::int64_t time = 1705392000;
    std::uint64_t seed = 0;
    for (const CondensateRunKind kind :
         {CondensateRunKind::Blank, CondensateRunKind::Calibration, CondensateRunKind::Sample,
          CondensateRunKind::Sample, CondensateRunKind::Sample}) {
        synth::CondensateRunOptions o;
        o.kind = kind;
        o.seed = ++seed;
        o.samples = 1000000;
        o.unnamedPerInterval = 21;
        o.analysisTime = time += 5400;
        paths.push_back((l.dir / ("run-" + std::to_string(seed) + ".stg")).string());
        std::string error;
        if (!synth::WriteStg(paths.back(), synth::BuildCondensateRun(o), &error))
            Die(error);
    }
    l.profile.WriteInt(kSettingsSection, kKeyModeCalc, kModeLiquidOnly);
    l.session = std::make_unique<Session>(l.profile, fs::path(TALVEX_SOURCE_DIR) / "data");
    l.session->LoadComponents();
    if (!l.session->AddFiles(paths) || l.session->Condensate().analyses.size() != 3)
        Die("the condensate series did not load");
    return l;
}

void Curves(benchmark::State& state, const Session& session) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(CondensateCurves(session.Condensate()));
        benchmark::DoNotOptimize(NlhCurves(session.Nlh()));
    }
}

void BM_CurvesOfTheExampleSession(benchmark::State& state) {
    Curves(state, *Example().session);
}
BENCHMARK(BM_CurvesOfTheExampleSession)->Unit(benchmark::kMicrosecond);

void BM_CurvesOf3x1MSamples(benchmark::State& state) {
    Curves(state, *LongSeries().session);
}
BENCHMARK(BM_CurvesOf3x1MSamples)->Unit(benchmark::kMicrosecond);

void BM_RecalculationOf3x1MSamples(benchmark::State& state) {
    Session& session = *LongSeries().session;
    for (auto _ : state)
        benchmark::DoNotOptimize(session.Recalculate());
}
BENCHMARK(BM_RecalculationOf3x1MSamples)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double curves = reporter.millis["BM_CurvesOf3x1MSamples"];
    const double recalculation = reporter.millis["BM_RecalculationOf3x1MSamples"];
    if (curves > 0 && recalculation > 0)
        std::cout << "curves / recalculation of 3 x 1 M samples: " << curves << " us / " << recalculation
                  << " us = " << curves / recalculation << '\n';
    std::error_code ec;
    if (!LongSeries().dir.empty())
        fs::remove_all(LongSeries().dir, ec);
    return 0;
}
