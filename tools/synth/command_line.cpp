#include "command_line.h"

#include "sample_sets.h"
#include "utc_time.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

namespace talvex::synth {
namespace {

constexpr std::size_t kMaxSamples = 10'000'000;
constexpr std::size_t kSamplesPerPeak = 50;
constexpr std::size_t kMaxCount = 1'000'000;
constexpr double kMaxTime = 1e30; // the time axis is stored in single precision

template <typename T> T ParseInteger(const std::string& option, const std::string& text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size())
        throw UsageError(option + " needs a whole number, not \"" + text + "\"");
    return value;
}

double ParseNumber(const std::string& option, const std::string& text) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        throw UsageError(option + " needs a number, not \"" + text + "\"");
    return value;
}

std::int64_t ParseTime(const std::string& option, const std::string& text) {
    const std::optional<std::int64_t> t = ParseUtcDateTime(text);
    if (!t)
        throw UsageError(option + " needs \"YYYY-MM-DD HH:MM:SS\", not \"" + text + "\"");
    return *t;
}

void SetTableVersion(RunOptions& run, const std::string& text) {
    if (text == "legacy") {
        run.tableLayout = TableLayout::Legacy;
        return;
    }
    const int v = ParseInteger<int>("--table-version", text);
    if (v < 0 || v > 4)
        throw UsageError("--table-version is legacy, 0, 1, 2, 3 or 4");
    run.tableLayout = TableLayout::Versioned;
    run.tableVersion = v;
}

using ValueHandler = std::function<void(CommandLine&, const std::string&)>;
using FlagHandler = std::function<void(CommandLine&)>;

const std::map<std::string, ValueHandler>& ValueOptions() {
    static const std::map<std::string, ValueHandler> options = {
        {"--seed",
         [](CommandLine& c, const std::string& v) { c.run.seed = ParseInteger<std::uint64_t>("--seed", v); }},
        {"--samples",
         [](CommandLine& c, const std::string& v) {
             c.run.samples = ParseInteger<std::size_t>("--samples", v);
         }},
        {"--peaks",
         [](CommandLine& c, const std::string& v) { c.run.peaks = ParseInteger<std::size_t>("--peaks", v); }},
        {"--start",
         [](CommandLine& c, const std::string& v) { c.run.startTime = ParseNumber("--start", v); }},
        {"--step", [](CommandLine& c, const std::string& v) { c.run.step = ParseNumber("--step", v); }},
        {"--noise", [](CommandLine& c, const std::string& v) { c.run.noise = ParseNumber("--noise", v); }},
        {"--drift", [](CommandLine& c, const std::string& v) { c.run.drift = ParseNumber("--drift", v); }},
        {"--baseline",
         [](CommandLine& c, const std::string& v) { c.run.baseline = ParseNumber("--baseline", v); }},
        {"--passport-version",
         [](CommandLine& c, const std::string& v) {
             c.run.passportVersion = ParseInteger<int>("--passport-version", v);
             if (c.run.passportVersion < 1 || c.run.passportVersion > 3)
                 throw UsageError("--passport-version is 1, 2 or 3");
         }},
        {"--table-version", [](CommandLine& c, const std::string& v) { SetTableVersion(c.run, v); }},
        {"--sample-name", [](CommandLine& c, const std::string& v) { c.run.sampleName = v; }},
        {"--method", [](CommandLine& c, const std::string& v) { c.run.method = v; }},
        {"--operator", [](CommandLine& c, const std::string& v) { c.run.operatorName = v; }},
        {"--sampling-point", [](CommandLine& c, const std::string& v) { c.run.samplingPoint = v; }},
        {"--sampling-site", [](CommandLine& c, const std::string& v) { c.run.samplingSite = v; }},
        {"--comment", [](CommandLine& c, const std::string& v) { c.run.comment = v; }},
        {"--analysis-time",
         [](CommandLine& c, const std::string& v) { c.run.analysisTime = ParseTime("--analysis-time", v); }},
        {"--sampling-time",
         [](CommandLine& c, const std::string& v) { c.run.samplingTime = ParseTime("--sampling-time", v); }},
        {"--folder", [](CommandLine& c, const std::string& v) { c.folder = v; }},
        {"--format",
         [](CommandLine& c, const std::string& v) {
             if (v != "stg" && v != "cdf")
                 throw UsageError("--format is stg or cdf");
             c.andi = v == "cdf";
         }},
        {"--set", [](CommandLine& c, const std::string& v) { c.set = v; }},
        {"--count",
         [](CommandLine& c, const std::string& v) { c.count = ParseInteger<std::size_t>("--count", v); }},
    };
    return options;
}

const std::map<std::string, FlagHandler>& FlagOptions() {
    static const std::map<std::string, FlagHandler> options = {
        {"--wide-strings", [](CommandLine& c) { c.run.strings = StringForm::Utf16; }},
        {"--long-dates", [](CommandLine& c) { c.run.dates = DateTimeForm::Long; }},
        {"--calibration", [](CommandLine& c) { c.run.calibration = true; }},
        {"--help", [](CommandLine& c) { c.help = true; }},
        {"-h", [](CommandLine& c) { c.help = true; }},
    };
    return options;
}

void Check(const CommandLine& c) {
    const RunOptions& r = c.run;
    if (r.samples < 2 || r.samples > kMaxSamples)
        throw UsageError("--samples is 2 to " + std::to_string(kMaxSamples));
    if (!(r.step > 0.0) || r.step > kMaxTime || std::fabs(r.startTime) > kMaxTime)
        throw UsageError("--step must be positive and --start and --step at most 1e30 in size");
    const auto start = static_cast<float>(r.startTime);
    if (!(StoredStep(start, static_cast<float>(r.step)) > 0.0f))
        throw UsageError("--step is too small next to --start for the single-precision time axis");
    if (r.peaks > r.samples / kSamplesPerPeak)
        throw UsageError("--peaks needs at least " + std::to_string(kSamplesPerPeak) + " samples per peak");
    if (r.noise < 0.0)
        throw UsageError("--noise must not be negative");
    if (!c.set.empty()) {
        if (!FindSampleSet(c.set))
            throw UsageError("unknown set \"" + c.set + "\"");
        if (c.folder.empty() || !c.output.empty() || c.count != 0)
            throw UsageError("--set writes into --folder DIR and takes no OUT.stg or --count");
        return;
    }
    if (c.folder.empty() == c.output.empty())
        throw UsageError(c.folder.empty() ? "no output file given"
                                          : "give either OUT.stg or --folder, not both");
    if (!c.folder.empty() && (c.count < 1 || c.count > kMaxCount))
        throw UsageError("--folder needs --count 1 to " + std::to_string(kMaxCount));
    if (c.folder.empty() && c.count != 0)
        throw UsageError("--count goes with --folder");
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (!c.output.empty())
                throw UsageError("more than one output file: \"" + arg + "\"");
            c.output = arg;
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (const auto flag = FlagOptions().find(name);
            flag != FlagOptions().end() && eq == std::string::npos) {
            flag->second(c);
            continue;
        }
        const auto option = ValueOptions().find(name);
        if (option == ValueOptions().end())
            throw UsageError("unknown option \"" + arg + "\"");
        if (eq == std::string::npos && i + 1 == args.size())
            throw UsageError(name + " needs a value");
        option->second(c, eq == std::string::npos ? args[++i] : arg.substr(eq + 1));
    }
    if (!c.help)
        Check(c);
    return c;
}

std::string UsageText() {
    std::string text = R"(Usage: talvex-synth [OPTIONS] OUT.stg
       talvex-synth --folder DIR --count N [OPTIONS]
       talvex-synth --set NAME --folder DIR [--seed N]
Writes synthetic chromatogram files. The same options give byte-identical files.

Signal:
  --seed N                 random seed of peaks and noise (default 1)
  --samples N              number of samples, 2 to 10000000 (default 6000)
  --start MIN              time of the first sample in minutes (default 0)
  --step MIN               minutes between samples (default 0.005)
  --peaks N                number of peaks, at most one per 50 samples (default 12)
  --noise X                standard deviation of the noise (default 0.02)
  --drift X                baseline change per minute (default 0)
  --baseline X             baseline at the first sample (default 1)
File layout:
  --passport-version V     1, 2 or 3 (default 3)
  --table-version V        legacy, 0, 1, 2, 3 or 4 (default 4)
  --wide-strings           strings in UTF-16 instead of one-byte Windows-1251
  --long-dates             date-times always in the 64-bit form
  --format stg|cdf         the data system's .stg files (default) or ANDI/AIA
                           chromatography files .cdf of the same runs (times in seconds)
Passport (text in UTF-8):
  --sample-name TEXT  --method TEXT  --operator TEXT
  --sampling-point TEXT  --sampling-site TEXT  --comment TEXT
  --analysis-time "YYYY-MM-DD HH:MM:SS"   read as UTC (default 2024-01-15 10:00:00)
  --sampling-time "YYYY-MM-DD HH:MM:SS"   read as UTC (default midnight of the analysis day)
  --calibration            mark the run as a calibration
Folder mode:
  --folder DIR             write DIR/run-0001.stg ... (DIR is created when missing)
  --count N                number of files; file i uses seed + i - 1, the analysis time
                           plus i - 1 minutes and number in series i
  -h, --help               show this text
Options take their value as the next argument or after '='; "--" ends the options.
Exit status: 0 done, 1 failure, 2 wrong usage.
)";
    if (!SampleSets().empty()) {
        text += "Sample sets (--set NAME --folder DIR):\n";
        for (const SampleSet& set : SampleSets())
            text += "  " + std::string(set.name) + ": " + set.description + "\n";
    }
    return text;
}

} // namespace talvex::synth
