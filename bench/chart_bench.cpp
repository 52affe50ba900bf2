// A control chart of 10 000 points: the query and the rules, the drawing as SVG, and as PNG through the
// picture library when it is built.
#include "cli/chart_paint_loader.h"
#include "core/controlchart/chart_layout.h"
#include "core/controlchart/chart_svg.h"
#include "core/controlchart/control_chart.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace talvex;
using namespace talvex::controlchart;

constexpr int kPoints = 10000;

// The archive's answer, held in memory: a year and more of ОКЭ results wandering around zero.
class MemorySource : public ControlSource {
public:
    MemorySource() {
        for (int i = 0; i < kPoints; ++i) {
            ControlObservation o;
            o.key = {ControlKind::Oke, ControlMedium::Gas, "", "Метан"};
            o.time = 1704067200 + std::int64_t{i} * 3600;
            o.order = i;
            o.sample = "ГСО " + std::to_string(i);
            o.reference = 5.0;
            o.limit = 0.2;
            o.measured = 5.0 + 0.2 * (std::sin(i * 0.37) * 0.9 + std::sin(i * 0.011) * 0.6);
            o.difference = std::fabs(o.measured - o.reference);
            o.record = "record-" + std::to_string(i);
            o.excluded = i % 997 == 0;
            observations_.push_back(std::move(o));
        }
        phases_ = {{1704067200 + 3000 * 3600, "Новый этап"},
                   {1704067200 + 7000 * 3600, "Смена таблицы норм"}};
    }
    std::vector<ControlObservation> Observations(const SeriesQuery&) override { return observations_; }
    std::vector<PhaseStart> Phases(const SeriesKey&) override { return phases_; }

private:
    std::vector<ControlObservation> observations_;
    std::vector<PhaseStart> phases_;
};

SeriesQuery Query() {
    SeriesQuery q;
    q.key = {ControlKind::Oke, ControlMedium::Gas, "", "Метан"};
    return q;
}

void BM_ChartQueryAndRules10k(benchmark::State& state) {
    MemorySource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(QueryChart(source, Query()));
}
BENCHMARK(BM_ChartQueryAndRules10k)->Unit(benchmark::kMillisecond);

void BM_ChartDrawingSvg10k(benchmark::State& state) {
    MemorySource source;
    const Chart chart = QueryChart(source, Query());
    for (auto _ : state)
        benchmark::DoNotOptimize(ChartSvg(LayOutChart(chart)));
}
BENCHMARK(BM_ChartDrawingSvg10k)->Unit(benchmark::kMillisecond);

void BM_ChartLayout10k(benchmark::State& state) {
    MemorySource source;
    const Chart chart = QueryChart(source, Query());
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutChart(chart));
}
BENCHMARK(BM_ChartLayout10k)->Unit(benchmark::kMillisecond);

void BM_ChartDrawingPng10k(benchmark::State& state) {
    const fs::path library = fs::path(TALVEX_BIN_DIR) / cli::kChartPaintLibrary;
    if (!fs::exists(library)) {
        state.SkipWithError("the picture library is not built");
        return;
    }
    MemorySource source;
    const Chart chart = QueryChart(source, Query());
    const fs::path png =
        fs::temp_directory_path() / ("talvex-chart-bench-" + std::to_string(::getpid()) + ".png");
    // The first drawing starts Qt and reads the fonts, once per process.
    std::string warmUp;
    if (!cli::WriteChartImage(library, LayOutChart(chart), cli::ImageFormat::Png, png, warmUp)) {
        state.SkipWithError(warmUp.c_str());
        return;
    }
    for (auto _ : state) {
        std::string error;
        if (!cli::WriteChartImage(library, LayOutChart(chart), cli::ImageFormat::Png, png, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    std::error_code ec;
    fs::remove(png, ec);
}
BENCHMARK(BM_ChartDrawingPng10k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::pair<const char*, const char*> figures[] = {
        {"chart of 10 000 points, query + rules", "BM_ChartQueryAndRules10k"},
        {"chart of 10 000 points, drawing SVG", "BM_ChartDrawingSvg10k"},
        {"chart of 10 000 points, drawing PNG", "BM_ChartDrawingPng10k"},
    };
    for (const auto& [name, run] : figures)
        if (reporter.millis.count(run))
            std::cout << name << ": " << reporter.millis[run] << " ms (target: 50 ms)\n";
    return 0;
}
