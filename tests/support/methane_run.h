#pragma once

#include "stg_writer.h"

#include <cstdint>
#include <string>

namespace talvex::testing {

// A small chromatogram with one methane peak; the method and the sample name decide its kind.
inline synth::StgContent MethaneRun(const std::string& method, const std::string& sample,
                                    std::int64_t analysisTime) {
    synth::StgContent c;
    c.passport.method = method;
    c.passport.sampleName = sample;
    c.passport.analysisTime = analysisTime;
    c.passport.samplingTime = analysisTime;
    c.samples = {0, 1, 3, 1, 0, 0};
    c.peaks.resize(1);
    c.peaks[0].name = "Метан";
    c.peaks[0].beginTime = 1;
    c.peaks[0].endTime = 3;
    return c;
}

} // namespace talvex::testing
