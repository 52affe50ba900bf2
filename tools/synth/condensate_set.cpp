#include "condensate_set.h"

#include "portable_math.h"
#include "portable_random.h"
#include "signal_generator.h"
#include "utc_time.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace talvex::synth {
namespace {

constexpr const char* kMethod = "ПИД ДК";
constexpr double kSqrtTwoPi = 2.5066282746310002;
constexpr std::uint64_t kCompositionSeed = 0x5EEDC0DEULL;

struct NamedPeak {
    std::string_view name;
    double time;   // minutes on the condensate column
    double height; // in a sample
};

// C3 … n-pentane, named as the data system names them.
constexpr std::array<NamedPeak, 6> kLight{{
    {"Пропан", 1.60, 30.0},
    {"изо-Бутан", 2.10, 45.0},
    {"н-Бутан", 2.40, 80.0},
    {"нео-Пентан", 2.70, 5.0},
    {"изо-Пентан", 3.10, 120.0},
    {"н-Пентан", 3.50, 150.0},
}};

// The n-paraffins C5 … C40 at the condensate-column times of the shipped CompsTime.csv.
constexpr std::array<NamedPeak, 36> kParaffins{{
    {"н-Пентан", 3.5000, 0},           {"н-Гексан", 7.2570, 0},           {"н-Гептан", 10.6710, 0},
    {"н-Октан", 13.8060, 0},           {"н-Нонан", 16.6970, 0},           {"н-Декан", 19.3800, 0},
    {"н-Ундекан", 21.8850, 0},         {"н-Додекан", 24.2300, 0},         {"н-Тридекан", 26.4320, 0},
    {"н-Тетрадекан", 28.5150, 0},      {"н-Пентадекан", 30.4810, 0},      {"н-Гексадекан", 32.3420, 0},
    {"н-Гептадекан", 34.1000, 0},      {"н-Октадекан", 35.7280, 0},       {"н-Нонадекан", 37.2920, 0},
    {"н-Эйкозан", 38.8900, 0},         {"н-Генэйкозан", 40.3510, 0},      {"н-Докозан", 41.7420, 0},
    {"н-Трикозан", 43.0530, 0},        {"н-Тетракозан", 44.3530, 0},      {"н-Пентакозан", 45.5720, 0},
    {"н-Гексакозан", 46.7560, 0},      {"н-Гептакозан", 47.8830, 0},      {"н-Октакозан", 48.9870, 0},
    {"н-Нонакозан", 50.0450, 0},       {"н-Триаконтан", 51.0690, 0},      {"н-Гентриаконтан", 52.0230, 0},
    {"н-Дотриаконтан", 53.0580, 0},    {"н-Тритриаконтан", 53.8630, 0},   {"н-Тетратриаконтан", 54.6680, 0},
    {"н-Пентатриаконтан", 55.5880, 0}, {"н-Гексатриаконтан", 56.3930, 0}, {"н-Гептатриаконтан", 57.1980, 0},
    {"н-Октатриаконтан", 57.8880, 0},  {"н-Нонатриаконтан", 58.6930, 0},  {"н-Тетраконтан", 59.3830, 0},
}};
constexpr std::size_t kCalibrationParaffins = 16; // C5 … C20

// The certified liquid mixture of the shipped component table (mass %), with each component's FID factor
// there and its time between the n-paraffins by boiling point.
struct CertifiedPeak {
    std::string_view name;
    double time;
    double massPercent;
    double fidFactor;
};
constexpr std::array<CertifiedPeak, 11> kCertified{{
    {"н-Пентан", 3.5000, 10.0, 14.4302},
    {"н-Гексан", 7.2570, 12.0, 14.363},
    {"Бензол", 8.5630, 5.0, 13.019},
    {"н-Гептан", 10.6710, 12.0, 14.315},
    {"Толуол", 12.0750, 8.0, 13.163},
    {"н-Октан", 13.8060, 12.0, 14.279},
    {"п-Ксилол", 15.2650, 6.0, 13.271},
    {"н-Нонан", 16.6970, 10.0, 14.251},
    {"н-Декан", 19.3800, 10.0, 14.2286},
    {"н-Ундекан", 21.8850, 8.0, 14.210273},
    {"н-Додекан", 24.2300, 7.0, 14.195},
}};

// Peaks broaden along the run; neighbours keep clear of each other's bounds (apex ± 3.5 sigma).
double Sigma(double time, double spacing) {
    return std::min(0.006 + 0.0002 * time, spacing / 8.0);
}

// A condensate's n-paraffins fall off roughly exponentially with the carbon number.
double ParaffinHeight(std::size_t carbonIndex) {
    return 400.0 * PortableExp(-0.11 * static_cast<double>(carbonIndex));
}

PeakPlan Peak(std::string_view name, double time, double sigma, double height) {
    PeakPlan p;
    p.name = std::string(name);
    p.apexTime = time;
    p.sigma = sigma;
    p.height = height;
    return p;
}

std::vector<PeakPlan> SamplePeaks(const CondensateRunOptions& o, PortableRandom& random) {
    // One condensate: every run of the sample has the same peaks; only the heights differ a little, as
    // repeated analyses do.
    PortableRandom composition(kCompositionSeed);
    std::vector<PeakPlan> peaks;
    const auto jitter = [&] { return 1.0 + 0.01 * random.Normal(); };
    for (std::size_t i = 0; i + 1 < kLight.size(); ++i)
        peaks.push_back(Peak(kLight[i].name, kLight[i].time, 0.008, kLight[i].height * jitter()));
    const std::size_t k = o.unnamedPerInterval;
    for (std::size_t i = 0; i < kParaffins.size(); ++i) {
        const double t = kParaffins[i].time;
        const double next =
            i + 1 < kParaffins.size() ? kParaffins[i + 1].time : std::min(o.duration - 2.0, t + 0.8);
        const double spacing = (next - t) / static_cast<double>(k + 1);
        const double paraffinHeight = i == 0 ? kLight.back().height : ParaffinHeight(i);
        peaks.push_back(
            Peak(kParaffins[i].name, t, Sigma(t, std::min(spacing, 0.3)), paraffinHeight * jitter()));
        for (std::size_t j = 1; j <= k; ++j) {
            const double apex = t + spacing * (static_cast<double>(j) + composition.Uniform(-0.15, 0.15));
            const double height = paraffinHeight * composition.Uniform(0.1, 0.6) * jitter();
            peaks.push_back(Peak("", apex, Sigma(apex, spacing), height));
        }
    }
    return peaks;
}

std::vector<PeakPlan> CalibrationPeaks() {
    std::vector<PeakPlan> peaks;
    for (std::size_t i = 0; i < kCalibrationParaffins; ++i)
        peaks.push_back(Peak(kParaffins[i].name, kParaffins[i].time, Sigma(kParaffins[i].time, 0.3), 100.0));
    return peaks;
}

// Areas in proportion to certified value / relative response, so that the evaluation gives the certificate.
std::vector<PeakPlan> CertifiedPeaks() {
    constexpr double kSigma = 0.01;
    const double pentaneFactor = kCertified.front().fidFactor;
    std::vector<PeakPlan> peaks;
    for (const CertifiedPeak& c : kCertified) {
        const double area = 2.0 * c.massPercent / (c.fidFactor / pentaneFactor);
        peaks.push_back(Peak(c.name, c.time, kSigma, area / (kSigma * kSqrtTwoPi)));
    }
    return peaks;
}

const char* SampleName(CondensateRunKind kind) {
    switch (kind) {
    case CondensateRunKind::Sample:
        return "Проба 1";
    case CondensateRunKind::Blank:
        return "Холостая";
    case CondensateRunKind::Calibration:
        return "Градуировка";
    case CondensateRunKind::ControlSample:
        return "ОКП";
    case CondensateRunKind::ControlStandard:
        return "ОКЭ";
    }
    return "";
}

} // namespace

StgContent BuildCondensateRun(const CondensateRunOptions& o) {
    if (o.samples < 2 || !(o.duration > 0.0))
        throw std::invalid_argument("a condensate run needs at least two samples and a duration");
    PortableRandom random(DeriveSeed(o.seed, 1));
    StgContent content;
    content.startTime = 0.0f;
    content.step = static_cast<float>(o.duration / static_cast<double>(o.samples - 1));
    SignalPlan plan;
    plan.startTime = content.startTime;
    plan.step = StoredStep(content.startTime, content.step);
    plan.sampleCount = o.samples;
    plan.noiseSigma = 0.02;
    plan.noiseSeed = DeriveSeed(o.seed, 2);
    plan.drift = 0.001;
    // Every run starts at its own level; the blank correction evens the difference out.
    plan.baseline = 1.0 + 0.05 * random.Uniform();
    switch (o.kind) {
    case CondensateRunKind::Sample:
    case CondensateRunKind::ControlSample:
        plan.peaks = SamplePeaks(o, random);
        break;
    case CondensateRunKind::Calibration:
        plan.peaks = CalibrationPeaks();
        break;
    case CondensateRunKind::ControlStandard:
        plan.peaks = CertifiedPeaks();
        break;
    case CondensateRunKind::Blank:
        break;
    }
    GeneratedSignal signal = GenerateSignal(plan);
    content.samples = std::move(signal.samples);
    content.peaks = std::move(signal.peaks);
    CPassport& p = content.passport;
    p.sampleName = SampleName(o.kind);
    p.method = kMethod;
    p.operatorName = "Оператор";
    p.samplingPoint = "Сепаратор 1";
    p.duration = plan.step * static_cast<double>(o.samples - 1);
    p.calibrationFlag = o.kind == CondensateRunKind::Calibration ? 1 : 0;
    p.analysisTime = o.analysisTime;
    p.samplingTime = StartOfUtcDay(o.analysisTime);
    return content;
}

bool WriteCondensateSet(const std::filesystem::path& folder, std::uint64_t seed, std::string* error) {
    struct Run {
        const char* file;
        CondensateRunKind kind;
        std::int64_t minutesAfterStart;
    };
    static constexpr Run kRuns[] = {
        {"dk-blank.stg", CondensateRunKind::Blank, 0},
        {"dk-calibration.stg", CondensateRunKind::Calibration, 90},
        {"dk-sample-1.stg", CondensateRunKind::Sample, 180},
        {"dk-sample-2.stg", CondensateRunKind::Sample, 270},
        {"dk-sample-3.stg", CondensateRunKind::Sample, 360},
        {"dk-okp.stg", CondensateRunKind::ControlSample, 450},
        {"dk-oke.stg", CondensateRunKind::ControlStandard, 540},
    };
    constexpr std::int64_t kDayStart = 1705392000; // 2024-01-16 08:00:00 UTC
    std::uint64_t stream = 0;
    for (const Run& run : kRuns) {
        CondensateRunOptions o;
        o.kind = run.kind;
        o.seed = DeriveSeed(seed, ++stream);
        o.analysisTime = kDayStart + run.minutesAfterStart * 60;
        if (!WriteStg((folder / run.file).string(), BuildCondensateRun(o), error))
            return false;
    }
    return true;
}

} // namespace talvex::synth
