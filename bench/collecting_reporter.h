#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace talvex::bench {

// The console reporter that also keeps the mean time of every run, so that a benchmark program can print
// its ratios and targets at the end.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> millis;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            millis[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
};

// One figure of a benchmark program in the form every program prints, so that a reader and a script see at
// a glance which targets hold: `NAME: X (target: Y)`.
inline void PrintFigure(const std::string& name, double value, const std::string& target) {
    std::printf("%s: %.3g (target: %s)\n", name.c_str(), value, target.c_str());
    std::fflush(stdout);
}

// value / base, or 0 when either was not measured (a benchmark filtered out or skipped).
inline double Ratio(double value, double base) {
    return value > 0 && base > 0 ? value / base : 0.0;
}

} // namespace talvex::bench
