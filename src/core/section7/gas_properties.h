#pragma once

#include "core/section7/gas_types.h"

#include <string>
#include <vector>

namespace talvex {

// Molar mass, compressibility and density of a gas from S = the sum of mass fraction / molar mass over
// its components. All three NotSet when S gives no finite molar mass (no usable component).
GasProperties PropertiesFromSum(double S);

// The properties of a composition; lines whose component has no (positive) molar mass are left out and noted
// among the component issues.
GasProperties ComputeProperties(const std::vector<GasLine>& lines, std::vector<ComponentIssues>& issues);

// Why the properties of a composition (kComponentComposition or kFractionComposition) are missing.
std::string PropertiesNotComputedText(int composition);

} // namespace talvex
