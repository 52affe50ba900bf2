#pragma once

#include "core/common/not_set.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace talvex {

// One row of a norm table: the limits of measurement error that apply within a concentration range.
struct NormRange {
    double low = NotSet; // range of mass fractions, %, both bounds excluded
    double high = NotSet;
    double column2 = NotSet; // kept from the file; no calculation reads these three
    double column3 = NotSet;
    double column4 = NotSet;
    double delta = NotSet;           // relative accuracy, %
    double repeatability = NotSet;   // repeatability limit r, %
    double reproducibility = NotSet; // reproducibility limit R, %

    // Whether the range covers the mass fraction v. The bounds are strict: a value equal to a bound of
    // two adjacent ranges belongs to neither.
    bool Applies(double v) const { return low < v && v < high; }
};

// The first range of the list that covers v, or nullptr when none does.
inline const NormRange* FirstApplicableNorm(const std::vector<NormRange>& norms, double v) {
    for (const NormRange& n : norms)
        if (n.Applies(v))
            return &n;
    return nullptr;
}

// The norm of a component that has norms of which none covers the value: all its values are NotSet.
inline const NormRange* NoMatchingNorm() {
    static const NormRange kNoMatch{};
    return &kNoMatch;
}

// A norm reference is one of: nullptr (the component has no norms), NoMatchingNorm(), or a real range
// that applies.
inline bool IsRealNorm(const NormRange* norm) {
    return norm && norm != NoMatchingNorm();
}

// Properties of a component in one medium: the degassing gas or the degassed condensate.
struct PhaseProperties {
    // ", "-separated parts: one naming the component whose line this one joins, one beginning with "F"
    // naming the boiling fraction ("н-Бутан, F60-70"); see PickGroupPart.
    std::string group;
    double carbonNumber = NotSet;   // carbon atoms of a hydrocarbon; 0 for the non-hydrocarbons
    double boilingPoint = NotSet;   // °C at 101.325 kPa
    double molarMass = NotSet;      // g/mol
    double density = NotSet;        // g/cm³ at 20 °C; the condensate block never has one
    double fidFactor = NotSet;      // FID sensitivity coefficient, mass per unit area
    double tcdFactor = NotSet;      // TCD sensitivity coefficient; the condensate block never has one
    double certifiedValue = NotSet; // mass %, in the certified control mixture
};

// One component of the component database (or a boiling-fraction pseudo-component such as "F60-70").
struct ComponentRecord {
    // Row position when loaded; records made elsewhere get their maker's counter. A fresh record holds
    // the lowest int32, which no loaded record has.
    std::int32_t id = std::numeric_limits<std::int32_t>::min();
    std::string key;                    // component name
    std::string displayName;            // the name the data system writes into peak tables; looked up first
    PhaseProperties gas;                // degassing gas
    PhaseProperties liquid;             // degassed condensate
    std::vector<NormRange> gasNorms;    // in file order
    std::vector<NormRange> liquidNorms; // in file order
};

} // namespace talvex
