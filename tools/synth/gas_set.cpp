#include "gas_set.h"

#include "portable_random.h"
#include "signal_generator.h"
#include "utc_time.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace talvex::synth {
namespace {

constexpr double kSqrtTwoPi = 2.5066282746310002;
// Peak area per (mass % / sensitivity coefficient) on each detector; TCD-2 has 1.7 times less gain than
// TCD-1, which is what joining the two must undo.
constexpr double kFidGain = 40.0;
constexpr double kTcd1Gain = 4.0;
constexpr double kTcd2Gain = kTcd1Gain / 1.7;

struct GasPeak {
    std::string_view name; // empty: an unnamed peak
    double time;           // minutes; 0 = placed by boiling point between the n-paraffins
    double boilingPoint;   // °C, for the placement
    double massPercent;    // in the sample
    double factor;         // the sensitivity coefficient of the shipped component table
};

// n-paraffins on the gas column, as in the shipped CompsTime.csv, with their boiling points.
constexpr std::array<std::array<double, 2>, 9> kParaffinTimes{{{36.06, 5.0000},
                                                               {68.73, 10.2270},
                                                               {98.42, 14.9780},
                                                               {125.68, 19.3390},
                                                               {150.82, 23.3620},
                                                               {174.15, 27.0940},
                                                               {195.93, 30.5790},
                                                               {216.32, 33.8420},
                                                               {235.47, 36.9060}}};

// The hydrocarbons of a degassing gas on the FID.
constexpr std::array<GasPeak, 32> kFidPeaks{{
    {"Метан", 1.00, 0, 52.0, 16.043},
    {"Этан", 1.50, 0, 16.0, 15.035},
    {"Пропан", 2.20, 0, 13.0, 14.699},
    {"изо-Бутан", 2.90, 0, 4.0, 14.531},
    {"н-Бутан", 3.30, 0, 4.5, 14.531},
    {"нео-Пентан", 3.70, 0, 0.1, 14.4302},
    {"изо-Пентан", 4.40, 0, 1.6, 14.4302},
    {"н-Пентан", 0, 36.06, 1.5, 14.4302},
    {"2,2-Диметилбутан", 0, 49.73, 0.05, 14.363},
    {"2,3-Диметилбутан", 0, 57.98, 0.10, 14.363},
    {"2-Метилпентан", 0, 60.26, 0.40, 14.363},
    {"3-Метилпентан", 0, 63.27, 0.30, 14.363},
    {"н-Гексан", 0, 68.73, 0.60, 14.363},
    {"Метилциклопентан", 0, 71.81, 0.25, 14.027},
    {"Бензол", 0, 80.09, 0.10, 13.019},
    {"2-Метилгексан", 0, 90.05, 0.15, 14.315},
    {"3-Метилгексан", 0, 91.95, 0.15, 14.315},
    {"н-Гептан", 0, 98.42, 0.35, 14.315},
    {"Метилциклогексан", 0, 100.93, 0.20, 14.027},
    {"", 16.30, 0, 0.05, 14.2},
    {"Толуол", 0, 110.63, 0.15, 13.163},
    {"н-Октан", 0, 125.68, 0.20, 14.279},
    {"Этилбензол", 0, 136.19, 0.03, 13.271},
    {"п-Ксилол", 0, 138.37, 0.05, 13.271},
    {"о-Ксилол", 0, 144.43, 0.03, 13.271},
    {"н-Нонан", 0, 150.82, 0.08, 14.251},
    {"", 25.00, 0, 0.03, 14.2},
    {"н-Декан", 0, 174.15, 0.04, 14.2286},
    {"", 29.20, 0, 0.02, 14.2},
    {"н-Ундекан", 0, 195.93, 0.02, 14.210273},
    {"н-Додекан", 0, 216.32, 0.015, 14.195},
    {"н-Тридекан", 0, 235.47, 0.01, 14.182077},
}};

// Permanent gases, CO2, methane and ethane on TCD-1; helium, hydrogen, methane and ethane on TCD-2.
constexpr std::array<GasPeak, 5> kTcd1Peaks{{
    {"Азот", 0.60, 0, 2.0, 0.667},
    {"Кислород", 0.80, 0, 0.15, 0.8},
    {"Метан", 1.10, 0, 52.0, 0.4494},
    {"Диоксид углерода", 1.70, 0, 1.2, 0.9169},
    {"Этан", 2.40, 0, 16.0, 0.5873},
}};
constexpr std::array<GasPeak, 4> kTcd2Peaks{{
    {"Гелий", 0.45, 0, 0.02, 0.018},
    {"Водород", 0.65, 0, 0.01, 0.0073},
    {"Метан", 1.20, 0, 52.0, 0.4494},
    {"Этан", 2.60, 0, 16.0, 0.5873},
}};

// The certified gas mixture of the shipped component table (mass %).
constexpr std::array<GasPeak, 8> kStandardPeaks{{
    {"Метан", 1.00, 0, 70.0, 16.043},
    {"Этан", 1.50, 0, 12.0, 15.035},
    {"Пропан", 2.20, 0, 8.0, 14.699},
    {"изо-Бутан", 2.90, 0, 3.0, 14.531},
    {"н-Бутан", 3.30, 0, 3.0, 14.531},
    {"изо-Пентан", 4.40, 0, 1.5, 14.4302},
    {"н-Пентан", 0, 36.06, 1.5, 14.4302},
    {"н-Гексан", 0, 68.73, 1.0, 14.363},
}};

// Retention time of a component by its boiling point, linear between the n-paraffins around it.
double TimeByBoilingPoint(double bp) {
    for (std::size_t i = 1; i < kParaffinTimes.size(); ++i) {
        const auto& [bp0, t0] = kParaffinTimes[i - 1];
        const auto& [bp1, t1] = kParaffinTimes[i];
        if (bp <= bp1)
            return t0 + (bp - bp0) / (bp1 - bp0) * (t1 - t0);
    }
    return kParaffinTimes.back()[1];
}

// A stable 64-bit value of a name (FNV-1a), so that one component varies alike on every detector.
std::uint64_t NameHash(std::string_view name, std::size_t index) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return name.empty() ? h + index : h;
}

std::vector<PeakPlan> PeakList(std::span<const GasPeak> peaks, double gain, const GasRunOptions& o) {
    std::vector<PeakPlan> plans;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const GasPeak& g = peaks[i];
        PortableRandom random(DeriveSeed(o.seed, NameHash(g.name, i)));
        const double amount = g.massPercent * (1.0 + o.spread * random.Uniform(-1.0, 1.0));
        PeakPlan p;
        p.name = std::string(g.name);
        p.apexTime = g.time > 0 ? g.time : TimeByBoilingPoint(g.boilingPoint);
        p.sigma = 0.012 + 0.0012 * p.apexTime;
        p.height = amount / g.factor * gain / (p.sigma * kSqrtTwoPi);
        plans.push_back(std::move(p));
    }
    return plans;
}

// Narrow trace peaks between the named ones; the list is kept in time order.
void AddUnnamedPeaks(std::vector<PeakPlan>& peaks, std::size_t count) {
    constexpr double kFrom = 5.5;
    constexpr double kTo = 36.5;
    for (std::size_t i = 0; i < count; ++i) {
        PeakPlan p;
        p.apexTime = kFrom + (kTo - kFrom) * (static_cast<double>(i) + 0.5) / static_cast<double>(count);
        p.sigma = 0.004;
        p.height = 0.5;
        peaks.push_back(std::move(p));
    }
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const PeakPlan& a, const PeakPlan& b) { return a.apexTime < b.apexTime; });
}

const char* MethodOf(GasDetector d) {
    switch (d) {
    case GasDetector::Tcd1:
        return "ДТП-1 ГД";
    case GasDetector::Tcd2:
        return "ДТП-2 ГД";
    default:
        return "ПИД ГД";
    }
}

const char* SampleNameOf(GasRunKind kind) {
    switch (kind) {
    case GasRunKind::Blank:
        return "Холостая";
    case GasRunKind::ControlSample:
        return "ОКП";
    case GasRunKind::ControlStandard:
        return "ОКЭ";
    default:
        return "Проба 1";
    }
}

} // namespace

StgContent BuildGasRun(const GasRunOptions& o) {
    SignalPlan plan;
    plan.step = o.duration / static_cast<double>(o.samples);
    StgContent content;
    content.startTime = 0.0f;
    content.step = static_cast<float>(plan.step);
    plan.step = StoredStep(content.startTime, content.step);
    plan.sampleCount = o.samples;
    const bool fid = o.detector == GasDetector::Fid;
    plan.baseline = fid ? 5.0 : 2.0;
    plan.noiseSigma = fid ? 0.004 : 0.05;
    plan.noiseSeed = DeriveSeed(o.seed, 1000 + static_cast<std::uint64_t>(o.detector));
    if (o.kind == GasRunKind::ControlStandard)
        plan.peaks = PeakList(kStandardPeaks, kFidGain, o);
    else if (o.kind != GasRunKind::Blank)
        plan.peaks = fid                               ? PeakList(kFidPeaks, kFidGain, o)
                     : o.detector == GasDetector::Tcd1 ? PeakList(kTcd1Peaks, kTcd1Gain, o)
                                                       : PeakList(kTcd2Peaks, kTcd2Gain, o);
    if (fid && o.kind != GasRunKind::Blank)
        AddUnnamedPeaks(plan.peaks, o.extraUnnamedPeaks);
    GeneratedSignal signal = GenerateSignal(plan);
    content.samples = std::move(signal.samples);
    content.peaks = std::move(signal.peaks);
    content.passport.sampleName = SampleNameOf(o.kind);
    content.passport.method = MethodOf(o.detector);
    content.passport.operatorName = "Лаборант ГД";
    content.passport.samplingPoint = "Сепаратор 1";
    content.passport.samplingSite = "УКПГ-2";
    content.passport.duration = o.duration;
    content.passport.analysisTime = o.analysisTime;
    content.passport.samplingTime = StartOfUtcDay(o.analysisTime);
    return content;
}

bool WriteGasSet(const std::filesystem::path& folder, std::uint64_t seed, std::string* error) {
    constexpr std::int64_t kStart = 1705309200; // 2024-01-15 09:00:00 UTC
    constexpr std::int64_t kBetweenAnalyses = 1800;
    const auto write = [&](const std::string& name, GasRunOptions o) {
        return WriteStg((folder / name).string(), BuildGasRun(o), error);
    };
    const auto writeAnalysis = [&](const std::string& prefix, GasRunKind kind, std::uint64_t runSeed,
                                   std::int64_t time) {
        GasRunOptions o;
        o.kind = kind;
        o.seed = runSeed;
        o.analysisTime = time;
        if (kind == GasRunKind::ControlSample)
            o.spread = 0.01;
        bool ok = write(prefix + "-fid.stg", o);
        o.detector = GasDetector::Tcd1;
        o.analysisTime = time + 2;
        ok = ok && write(prefix + "-tcd1.stg", o);
        o.detector = GasDetector::Tcd2;
        o.analysisTime = time + 4;
        return ok && write(prefix + "-tcd2.stg", o);
    };
    GasRunOptions blank;
    blank.kind = GasRunKind::Blank;
    blank.seed = DeriveSeed(seed, 10);
    blank.analysisTime = kStart - kBetweenAnalyses;
    if (!write("gd-blank.stg", blank))
        return false;
    for (int i = 1; i <= 3; ++i)
        if (!writeAnalysis("gd-" + std::to_string(i), GasRunKind::Sample,
                           DeriveSeed(seed, static_cast<std::uint64_t>(i)),
                           kStart + (i - 1) * kBetweenAnalyses))
            return false;
    if (!writeAnalysis("gd-okp", GasRunKind::ControlSample, DeriveSeed(seed, 20),
                       kStart + 3 * kBetweenAnalyses))
        return false;
    GasRunOptions standard;
    standard.kind = GasRunKind::ControlStandard;
    standard.seed = DeriveSeed(seed, 30);
    standard.spread = 0.02;
    standard.analysisTime = kStart + 4 * kBetweenAnalyses;
    return write("gd-oke-fid.stg", standard);
}

} // namespace talvex::synth
