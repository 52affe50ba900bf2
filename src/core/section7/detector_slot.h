#pragma once

#include "core/section7/gas_types.h"

#include <span>

namespace talvex {

class ComponentTable;
class MessageLog;

// Puts the chromatogram into the slot: its time axis, the samples per second and the baseline level of
// the first second; the entries are emptied.
void SetSlot(DetectorSlot& slot, const COpenedChmFile& chromatogram);

// The slot as it is with no chromatogram.
void ClearSlot(DetectorSlot& slot);

// Samples per second of a signal with this step (minutes): trunc(1 / (step x 60)); 0 for a step that is
// not positive, at most the largest int32.
std::int32_t SamplesPerSecond(double step);

// The baseline level of a signal's first second (samplesPerSecond samples): the mean of the samples that
// lie strictly within one standard deviation of their mean. A signal sampled more slowly than once a second
// uses its first sample; a signal shorter than a second uses what it has; when no sample lies strictly
// within (a flat start) the level is the plain mean; an empty signal has level 0.
double BaselineLevel(std::span<const float> samples, std::int32_t samplesPerSecond);

// The named peaks of the slot's chromatogram into its entries, each linked to its component. Unknown
// names and unnamed peaks are reported; nothing happens for an empty slot.
void LoadPeakEntries(DetectorSlot& slot, const ComponentTable& components, MessageLog& log);

} // namespace talvex
