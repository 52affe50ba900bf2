// Fuzz target of the "Time" and "Raw_data" streams: the first byte gives the length of the time stream,
// the rest is the signal as float32 values, as the file stores them. The chromatogram's paths over a
// signal run on it: interpolation anywhere on the axis and the peaks of a fixed table.
#include "core/chromatogram/chm_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

// A version-1 peak table: two linked peaks and a lone one, over 0..10 minutes.
std::vector<std::uint8_t> PeakTable() {
    std::vector<std::uint8_t> bytes;
    auto put = [&bytes](const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
    };
    const std::uint32_t magic[2] = {0x125FFE11, 0xA2D28C45};
    const std::int32_t head[2] = {1, 3};
    put(magic, sizeof magic);
    put(head, sizeof head);
    const double times[3][3] = {{1.0, 2.0, 0.0}, {2.0, 3.5, 0.0}, {5.0, 9.0, 0.0}};
    const std::int32_t links[3] = {1, -1, -1};
    for (int i = 0; i < 3; ++i) {
        put(times[i], sizeof times[i]);
        bytes.push_back(0); // empty name
        put(&links[i], sizeof links[i]);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::size_t timeBytes = data[0] < size - 1 ? data[0] : size - 1;
    talvex::CChmFile chm;
    talvex::ReadTimeAxis({data + 1, timeBytes}, chm.signal);
    const std::uint8_t* raw = data + 1 + timeBytes;
    chm.signal.samples.resize((size - 1 - timeBytes) / 4);
    if (!chm.signal.samples.empty())
        std::memcpy(chm.signal.samples.data(), raw, chm.signal.samples.size() * 4);
    static const std::vector<std::uint8_t> table = PeakTable();
    try {
        chm.peaks.ReadTable(table, chm.signal);
    } catch (const std::invalid_argument&) {
        if (chm.signal.samples.size() >= 2) // refused only for a signal too short for its peaks
            __builtin_trap();
        return 0;
    }
    const double start = chm.signal.startTime;
    const double end = start + chm.signal.step * static_cast<double>(chm.signal.samples.size());
    const double nan = std::nan(""), inf = HUGE_VAL;
    for (double t : {start, end, (start + end) / 2, start - 1e300, end + 1e300, nan, inf})
        (void)chm.signal.ValueAt(t);
    return 0;
}
