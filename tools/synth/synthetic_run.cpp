#include "synthetic_run.h"

#include "portable_random.h"
#include "signal_generator.h"
#include "utc_time.h"

#include <stdexcept>

namespace talvex::synth {
namespace {

constexpr std::uint64_t kPeakStream = 1;
constexpr std::uint64_t kNoiseStream = 2;

talvex::CPassport MakePassport(const RunOptions& o, double duration) {
    talvex::CPassport p;
    p.sampleName = o.sampleName;
    p.method = o.method;
    p.operatorName = o.operatorName;
    p.samplingPoint = o.samplingPoint;
    p.samplingSite = o.samplingSite;
    p.comment = o.comment;
    p.duration = duration;
    p.seriesNo = o.seriesNo;
    p.calibrationFlag = o.calibration ? 1 : 0;
    p.analysisTime = o.analysisTime;
    p.samplingTime = o.samplingTime.value_or(StartOfUtcDay(o.analysisTime));
    return p;
}

} // namespace

StgContent BuildRun(const RunOptions& o) {
    if (o.samples < 2)
        throw std::invalid_argument("a run needs at least two samples");
    StgContent content;
    content.startTime = static_cast<float>(o.startTime);
    content.step = static_cast<float>(o.step);
    // The signal is drawn on the time axis a reader will rebuild from the stored floats.
    SignalPlan plan;
    plan.startTime = content.startTime;
    plan.step = StoredStep(content.startTime, content.step);
    if (!(plan.step > 0.0))
        throw std::invalid_argument("the step vanishes next to the start time in single precision");
    plan.sampleCount = o.samples;
    plan.baseline = o.baseline;
    plan.drift = o.drift;
    plan.noiseSigma = o.noise;
    plan.noiseSeed = DeriveSeed(o.seed, kNoiseStream);
    const double runEnd = plan.startTime + plan.step * static_cast<double>(o.samples - 1);
    RandomPeakOptions layout;
    layout.runStart = plan.startTime;
    layout.runEnd = runEnd;
    plan.peaks = RandomPeaks(DeriveSeed(o.seed, kPeakStream), o.peaks, layout);

    GeneratedSignal signal = GenerateSignal(plan);
    content.samples = std::move(signal.samples);
    content.peaks = std::move(signal.peaks);
    content.passport = MakePassport(o, runEnd - plan.startTime);
    content.passportVersion = o.passportVersion;
    content.tableLayout = o.tableLayout;
    content.tableVersion = o.tableVersion;
    content.stringForm = o.strings;
    content.dateTimeForm = o.dates;
    return content;
}

} // namespace talvex::synth
