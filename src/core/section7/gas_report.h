#pragma once

#include "core/common/report_settings.h"
#include "core/section7/gas_types.h"

#include <pugixml.hpp>

namespace talvex {

// Appends the degassing-gas nodes to the root element of the report document: "Header_S7", the
// chromatogram list "Table2", the analyses "Table3" to "Table6" and the controls "Table7" to "Table9",
// as the report switches GD_* ask. Numbers with `decimals` places and a decimal comma. -1 when there is
// no root element, else 0.
int WriteGasReport(pugi::xml_node root, const Section7Result& result, int decimals,
                   const ReportSettings& switches);

} // namespace talvex
