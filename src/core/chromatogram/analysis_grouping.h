#pragma once

#include "core/chromatogram/chromatogram_list.h"

namespace talvex {

// Orders the list and numbers the analyses; run before every recalculation.
//
// Order: by typeCode group (medium, then role in the order ОКП, ОКЭ, sample, blank, calibration), within
// a group the runs without an analysis first, then analysis 0, 1, ... each as FID, TCD-1, TCD-2; ties by
// passport.analysisTime. Every FID sample run opens the next analysis of its medium, in that order; a TCD
// sample run of the same medium analysed within 9 seconds of it joins that analysis (the last such FID run
// wins). All other entries get analysisNo -1.
void GroupAnalyses(ChromatogramList& list);

} // namespace talvex
