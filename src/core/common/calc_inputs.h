#pragma once

#include "core/common/settings.h"

#include <string>
#include <vector>

namespace talvex {

class COpenedChmFile;
class ComponentTable;
class RetentionTimeTable;
class MessageLog;

// What every calculation reads, lent by the session for one recalculation: the chromatogram list
// (sorted and grouped), the component database, the retention times, the settings the recalculation read
// once from the profile, and the log the calculation posts its findings to. None of it changes while a
// calculation runs.
struct CalcInputs {
    const std::vector<COpenedChmFile>& chromatograms;
    const ComponentTable& components;
    const RetentionTimeTable& retentionTimes;
    const CSettings& settings;
    MessageLog& log;
    // Where a calculation that cannot go on leaves the text the operator must see; the recalculation then
    // ends with that error. Empty while all is well.
    std::string& failure;
};

} // namespace talvex
