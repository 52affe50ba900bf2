#pragma once

#include "core/common/settings.h"
#include "core/section7/gas_types.h"

#include <vector>

namespace talvex {

class ComponentTable;
class RetentionTimeTable;
class MessageLog;

// What the degassing-gas operations read and where they report, for one calculation.
struct GasContext {
    const ComponentTable& components;
    const RetentionTimeTable& retentionTimes;
    MessageLog& log;
    CSettings settings;                   // as the recalculation read them
    std::vector<ComponentIssues>& issues; // the result's issue list
};

} // namespace talvex
