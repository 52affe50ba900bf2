#pragma once

#include "section7/gas_types.h"

#include <pugixml.hpp>

namespace talvex {

class SettingsStore;

// Appends the degassing-gas nodes to the root element of the report document: "Header_S7", the
// chromatogram list "Table2", the analyses "Table3" to "Table6" and the controls "Table7" to "Table9",
// as the report switches GD_* of the profile ask (each on when never stored). Numbers with
// QtyNumAfterDot decimals and a decimal comma. -1 when there is no root element, else 0.
int WriteGasReport(pugi::xml_node root, const Section7Result& result, const SettingsStore& settings);

} // namespace talvex
