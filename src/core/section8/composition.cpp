// Mass fractions of the marked entries and the average molar mass of the condensate.
#include "core/section8/composition.h"

#include "core/components/component_record.h"
#include "core/section8/condensate.h"

#include <cmath>

namespace talvex {
namespace {

double FiniteOrNotSet(double v) {
    return std::isfinite(v) ? v : NotSet;
}

} // namespace

double RelativeResponseFactor(const ComponentRecord& c, double pentaneFactor) {
    const PhaseProperties& p = c.liquid;
    if (!IsNotSet(p.fidFactor))
        return FiniteOrNotSet(p.fidFactor / pentaneFactor);
    if (!IsNotSet(p.molarMass) && !IsNotSet(p.carbonNumber))
        return FiniteOrNotSet(p.molarMass / p.carbonNumber / pentaneFactor);
    return NotSet;
}

double FractionResponseFactor(const ComponentRecord& fraction) {
    const double tb = fraction.liquid.boilingPoint;
    if (IsNotSet(tb))
        return NotSet;
    return FiniteOrNotSet(1.27739 * std::pow(tb, -0.04411));
}

int CondensateAnalysis::ComputeComposition(MarkingMethod method, CondensateProblems& problems) {
    std::vector<CondensateEntry>& entries = Entries(method);
    double& massSum = method == MarkingMethod::A ? massSumA : massSumB;
    if (entries.empty() || pentaneIndex < 0 || static_cast<std::size_t>(pentaneIndex) >= entries.size())
        return -1;
    const ComponentRecord* pentane = entries[static_cast<std::size_t>(pentaneIndex)].component;
    const double pentaneFactor = pentane ? pentane->liquid.fidFactor : NotSet;
    double s = 0.0;
    for (CondensateEntry& e : entries) {
        if (!e.component) {
            problems.Problem(e.name).notInDatabase = true;
            continue;
        }
        if (IsNotSet(e.area))
            continue;
        const double k = e.isFraction ? FractionResponseFactor(*e.component)
                                      : RelativeResponseFactor(*e.component, pentaneFactor);
        e.responseFactor = k;
        if (IsNotSet(k)) {
            problems.Problem(e.name).noResponseFactor = true;
            continue;
        }
        e.weightedArea = e.area * k;
        s += e.weightedArea;
    }
    if (!(s > 0.0))
        return -1;
    for (CondensateEntry& e : entries) {
        if (!(e.weightedArea > 0.0))
            continue;
        e.massFraction = e.weightedArea / s * 100.0;
        if (e.massFraction > 0.0)
            massSum += e.massFraction;
    }
    return 0;
}

double ComputeMolarMass(const std::vector<CondensateEntry>& entries, CondensateProblems& problems) {
    double s = 0.0;
    for (const CondensateEntry& e : entries) {
        if (!e.component)
            continue;
        const double m = e.component->liquid.molarMass;
        // A molar mass of 0 is as good as none: it would turn the average into an infinity.
        if (IsNotSet(m) || m == 0.0) {
            problems.Problem(e.name).noMolarMass = true;
            continue;
        }
        s += e.massFraction / m;
    }
    return s > 0.0 ? FiniteOrNotSet(100.0 / s) : NotSet;
}

} // namespace talvex
