#pragma once

#include "core/common/report_settings.h"

#include <pugixml.hpp>

namespace talvex {

struct CondensateResult;

// Appends the condensate nodes to the report document's root element, as the switches ask: "Header_S8",
// the chromatogram list "Table10", the compositions "Table11" … "Table14" and the controls "Table15" …
// "Table17"; numbers with a decimal comma and `decimals` places. -1 (nothing written) without a root
// element, otherwise 0.
int WriteCondensateReport(pugi::xml_node root, const CondensateResult& result, int decimals,
                          const ReportSettings& switches);

} // namespace talvex
