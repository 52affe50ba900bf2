#pragma once

#include <span>

namespace talvex {

// The level of the samples that lie strictly within one standard deviation of their mean, so that spikes
// and the start of a peak do not shift it; the mean itself when no sample does (a flat window). The
// baseline level of a run's first second, for the gas and the condensate alike. The window must not be
// empty.
double BandLevel(std::span<const float> window);

} // namespace talvex
