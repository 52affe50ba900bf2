#pragma once

#include <vector>

namespace talvex {

// The detector signal of one chromatogram: float samples on an even time axis in minutes.
// Sample k lies at startTime + k * step.
class CLattice {
public:
    CLattice() = default;
    CLattice(const CLattice&) = default;
    CLattice(CLattice&&) noexcept = default;
    CLattice& operator=(const CLattice&) = default;
    CLattice& operator=(CLattice&&) noexcept = default;
    virtual ~CLattice() = default;

    std::vector<float> samples;
    double startTime = 0.0; // minutes
    double step = 1.0;      // minutes between samples

    // Signal at time t (minutes) by linear interpolation between the two neighbouring samples; outside the
    // sampled range the edge segment is extended. Throws std::invalid_argument with fewer than two samples.
    // A NaN time gives NaN; infinite or huge times use the edge segment, never an undefined conversion.
    double ValueAt(double t) const;
};

} // namespace talvex
