// Drawing a chromatogram of 1 000 000 samples and 1 000 peaks into an 1600 x 500 image offscreen: the
// whole run, and a zoom on one tenth of it.
#include "gui/plot/chromatogram_plot.h"

#include "core/chromatogram/chm_file.h"
#include "signal_generator.h"

#include "collecting_reporter.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

using talvex::gui::ChromatogramPlot;

namespace {

talvex::CChmFile& Chromatogram() {
    static talvex::CChmFile chm = [] {
        using namespace talvex::synth;
        SignalPlan plan;
        plan.step = 0.0001;
        plan.sampleCount = 1'000'000;
        plan.baseline = 20;
        plan.noiseSigma = 0.5;
        plan.noiseSeed = 3;
        RandomPeakOptions options;
        options.runEnd = 100.0;
        plan.peaks = RandomPeaks(7, 1000, options);
        GeneratedSignal signal = GenerateSignal(plan);
        talvex::CChmFile c;
        c.signal.samples = std::move(signal.samples);
        c.signal.step = plan.step;
        for (talvex::cmpeek& p : signal.peaks)
            c.peaks.push_back(std::move(p));
        c.peaks.RecomputePeaks(c.signal);
        return c;
    }();
    return chm;
}

void Render(benchmark::State& state, bool zoomed) {
    ChromatogramPlot plot;
    plot.setChromatogram(&Chromatogram());
    if (zoomed) {
        const QRectF full = plot.viewRange();
        plot.setViewRange(
            QRectF(full.left() + full.width() * 0.45, full.top(), full.width() / 10, full.height()));
    }
    QImage image(1600, 500, QImage::Format_RGB32);
    for (auto _ : state) {
        plot.render(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RenderWholeRun_1M_Samples(benchmark::State& state) {
    Render(state, false);
}
void BM_RenderTenthOfTheRun_1M_Samples(benchmark::State& state) {
    Render(state, true);
}
BENCHMARK(BM_RenderWholeRun_1M_Samples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderTenthOfTheRun_1M_Samples)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // No display is needed: the plot paints into an image.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Chromatogram();
    // `bench_plot --png FILE` also saves the frame it measures, to look at.
    if (argc == 3 && std::string(argv[1]) == "--png") {
        ChromatogramPlot plot;
        plot.setChromatogram(&Chromatogram());
        QImage image(1600, 500, QImage::Format_RGB32);
        plot.render(image);
        image.save(QString::fromLocal8Bit(argv[2]));
    }
    talvex::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double whole = reporter.millis["BM_RenderWholeRun_1M_Samples"];
    if (whole > 0)
        std::cout << "render of 1 000 000 samples: " << whole << " ms per frame (target: under 50 ms)\n";
    return 0;
}
