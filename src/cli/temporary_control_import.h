#pragma once
// TEMPORARY: stands in for controlchart/control_import.h (the charts' CSV parser) until both are merged;
// the declaration is the agreed one. Delete this file and its .cpp when the real header is in the tree.

#include "controlchart/control_observation.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace talvex::controlchart {

// The control results of an import CSV, or "строка N: причина" for the first bad line.
std::variant<std::vector<ControlObservation>, std::string> ParseControlImport(std::string_view csvText);

} // namespace talvex::controlchart
