#include "core/section7/gas_properties.h"

#include "core/section7/component_issues.h"

#include <cmath>

namespace talvex {
namespace {

constexpr double kGasConstant = 8.31441;         // J/(mol·K)
constexpr double kReferencePressure = 101.325;   // kPa
constexpr double kReferenceTemperature = 293.15; // K
constexpr double kCompressibilitySlope = 1.9437;
constexpr double kCompressibilityOffset = 11.43;

} // namespace

GasProperties PropertiesFromSum(double S) {
    GasProperties p;
    const double M = 100 / S;
    if (!(S > 0.0) || !std::isfinite(M))
        return p;
    const double Z = 1 / std::exp(std::exp(kCompressibilitySlope * std::log(M) - kCompressibilityOffset));
    const double density = M * kReferencePressure / (Z * kGasConstant * kReferenceTemperature);
    p.molarMass = M;
    if (std::isfinite(Z) && Z > 0.0) {
        p.compressibility = Z;
        if (std::isfinite(density))
            p.density = density;
    }
    return p;
}

GasProperties ComputeProperties(const std::vector<GasLine>& lines, std::vector<ComponentIssues>& issues) {
    double S = 0.0;
    for (const GasLine& line : lines) {
        if (IsNotSet(line.massFraction))
            continue;
        if (!line.component || !(line.component->gas.molarMass > 0.0)) {
            IssuesOf(issues, line.name).noMolarMass = true;
            continue;
        }
        S = S + line.massFraction / line.component->gas.molarMass;
    }
    return PropertiesFromSum(S);
}

std::string PropertiesNotComputedText(int composition) {
    return std::string("Физико-химические показатели газа (") +
           (composition == kComponentComposition ? "компонентный" : "компонентно-фракционный") +
           " состав) не рассчитаны: нет компонентов с массовой долей и молярной массой.";
}

} // namespace talvex
