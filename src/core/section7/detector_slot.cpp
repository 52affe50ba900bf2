#include "core/section7/detector_slot.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/band_level.h"
#include "core/components/component_table.h"
#include "core/section7/gas_messages.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talvex {

std::int32_t SamplesPerSecond(double step) {
    if (!(step > 0.0))
        return 0;
    const double perSecond = std::trunc(1.0 / (step * 60.0));
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return perSecond >= kMax ? std::numeric_limits<std::int32_t>::max()
                             : static_cast<std::int32_t>(perSecond);
}

double BaselineLevel(std::span<const float> samples, std::int32_t samplesPerSecond) {
    const std::size_t n =
        std::min(samples.size(), static_cast<std::size_t>(std::max<std::int32_t>(samplesPerSecond, 1)));
    if (n == 0)
        return 0.0;
    return BandLevel(samples.first(n));
}

void ClearSlot(DetectorSlot& slot) {
    slot = DetectorSlot{};
}

void SetSlot(DetectorSlot& slot, const COpenedChmFile& chromatogram) {
    slot.chromatogram = &chromatogram;
    slot.step = chromatogram.signal.step;
    slot.startTime = chromatogram.signal.startTime;
    slot.samplesPerSecond = SamplesPerSecond(slot.step);
    slot.entries.clear();
    slot.level = BaselineLevel(chromatogram.signal.samples, slot.samplesPerSecond);
}

void LoadPeakEntries(DetectorSlot& slot, const ComponentTable& components, MessageLog& log) {
    if (!slot.chromatogram)
        return;
    const COpenedChmFile& chm = *slot.chromatogram;
    std::int32_t unnamed = 0;
    for (const cmpeek& peak : chm.peaks) {
        if (peak.name.empty()) {
            ++unnamed;
            continue;
        }
        PeakEntry e;
        e.chromatogram = &chm;
        e.component = components.FindComponent(peak.name);
        e.name = peak.name;
        e.area = std::fabs(peak.area);
        e.retentionTime = peak.retentionTime;
        e.beginTime = peak.beginTime;
        e.endTime = peak.endTime;
        if (!e.component)
            PostUnknownPeak(log, peak.name, chm);
        slot.entries.push_back(std::move(e));
    }
    if (unnamed > 0)
        PostUnnamedPeaks(log, chm, unnamed);
}

} // namespace talvex
