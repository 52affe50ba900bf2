#pragma once

#include "core/section7/gas_types.h"

#include <string_view>
#include <vector>

namespace talvex {

class MessageLog;

// The issue record of this component name (letter case ignored), appended when there is none yet.
ComponentIssues& IssuesOf(std::vector<ComponentIssues>& issues, std::string_view name);

// One error per component with issues, listing its problems in a fixed order.
void ReportIssues(const std::vector<ComponentIssues>& issues, MessageLog& log);

} // namespace talvex
