#pragma once

#include <benchmark/benchmark.h>

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

} // namespace talvex::bench
