#pragma once

namespace talvex {

struct ComponentRecord;

// FID response of a component relative to n-pentane: its factor (or molar mass / carbon number) divided by
// n-pentane's factor. NotSet when it cannot be computed, including a division that gives no finite number
// (an n-pentane factor of 0).
double RelativeResponseFactor(const ComponentRecord& component, double pentaneFactor);

// FID response of a boiling fraction from its boiling temperature; NotSet when it has none.
double FractionResponseFactor(const ComponentRecord& fraction);

} // namespace talvex
