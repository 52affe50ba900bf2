// Fuzz target of the "Table" stream parser (the legacy layout and versions 0-4): raw stream bytes read
// over a fixed signal, then every peak derived from it. Refused only with ArchiveError.
#include "core/chromatogram/archive_reader.h"
#include "core/chromatogram/lattice.h"
#include "core/chromatogram/peaks_table.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Two peaks on a sloping baseline over 0..10 minutes, as a short detector trace looks.
const talvex::CLattice& Signal() {
    static const talvex::CLattice signal = [] {
        talvex::CLattice s;
        s.startTime = 0.0;
        s.step = 0.01;
        for (int k = 0; k < 1000; ++k) {
            const double t = k * s.step;
            s.samples.push_back(static_cast<float>(0.5 * t + 100.0 * std::exp(-(t - 3.0) * (t - 3.0) * 20.0) +
                                                   40.0 * std::exp(-(t - 6.5) * (t - 6.5) * 10.0)));
        }
        return s;
    }();
    return signal;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    talvex::CPeeksTable table;
    try {
        table.ReadTable({data, size}, Signal());
    } catch (const talvex::ArchiveError&) {
        return 0;
    }
    for (const auto& peak : table)
        if (peak.nextLinked >= static_cast<std::int32_t>(table.size()) ||
            peak.prevLinked >= static_cast<std::int32_t>(table.size()))
            __builtin_trap();
    return 0;
}
