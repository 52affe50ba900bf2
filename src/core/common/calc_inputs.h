#pragma once

#include <vector>

namespace talvex {

class COpenedChmFile;
class ComponentTable;
class RetentionTimeTable;
class MessageLog;
class SettingsStore;

// What every calculation reads, lent by the session for one recalculation: the chromatogram list
// (sorted and grouped), the component database, the retention times, the stored settings, and the log
// the calculation posts its findings to. None of it changes while a calculation runs.
struct CalcInputs {
    const std::vector<COpenedChmFile>& chromatograms;
    const ComponentTable& components;
    const RetentionTimeTable& retentionTimes;
    const SettingsStore& settings;
    MessageLog& log;
};

} // namespace talvex
