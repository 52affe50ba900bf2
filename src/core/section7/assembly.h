#pragma once

#include "core/section7/gas_types.h"

#include <vector>

namespace talvex {

class MessageLog;

// Gathers the gas chromatograms of the (grouped) list into the analyses, the blank slot and the two
// control records: every FID sample run opens an analysis, the runs of the same analysis number fill its
// detector slots (a later run replaces an earlier one), control runs go to their control record and the
// FID blank run to the blank slot. The analyses end up sorted by number.
void AssembleAnalyses(Section7Result& result, const std::vector<COpenedChmFile>& chromatograms);

// Joins the two TCD runs into tcdLines: TCD-1 as measured, then the TCD-2 components TCD-1 lacks, scaled
// by the ratio of the methane and ethane areas on both. Without both TCD runs nothing is joined; without
// methane and ethane on both the TCD-2 peaks are dropped with a warning.
void JoinTcd(GasAnalysis& analysis, MessageLog& log);

} // namespace talvex
