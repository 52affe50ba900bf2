#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// One peak of a chromatogram's peak table. Times in minutes; area in signal units x minutes.
// The stored fields come from the file; the computed ones are derived from the signal on every read.
struct cmpeek {
    // An extra name/value pair stored with a peak or with the whole table.
    struct TwinsDopParam {
        virtual ~TwinsDopParam() = default;
        std::string name = "noname";
        std::string value = "novalue";
    };

    double retentionTime = 0.0;   // apex time (computed)
    double area = 0.0;            // area above the baseline (computed); negative for a negative peak
    double height = 0.0;          // largest |signal - baseline| inside the bounds (computed)
    double storedValue = 0.0;     // third number of the stored record; kept, unused
    std::string name;             // component name; empty for an unnamed peak
    std::int32_t index = 0;       // position in the table, 0-based
    std::int32_t flags = 0;       // stored from table version 2 on; kept, unused
    std::int32_t prevLinked = -1; // preceding peak on a common baseline (derived)
    std::int32_t nextLinked = -1; // following peak on a common baseline (stored)
    double baselineStart = 0.0;   // baseline at beginTime (computed)
    double baselineEnd = 0.0;     // baseline at endTime (computed)
    double beginTime = 0.0;       // stored
    double endTime = 0.0;         // stored
    std::vector<TwinsDopParam> params;
};

} // namespace talvex
