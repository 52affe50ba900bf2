#pragma once

#include "core/chromatogram/cmpeek.h"
#include "core/chromatogram/lattice.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace talvex {

// The peak table of one chromatogram, in stored order (vector index == cmpeek::index).
// Every peak is derived from the signal of the chromatogram that owns the table; the owner hands that
// signal to ReadTable and RecomputePeaks, the table keeps no reference to it.
class CPeeksTable : public std::vector<cmpeek> {
public:
    CPeeksTable() = default;
    CPeeksTable(const CPeeksTable&) = default;
    CPeeksTable(CPeeksTable&&) noexcept = default;
    CPeeksTable& operator=(const CPeeksTable&) = default;
    CPeeksTable& operator=(CPeeksTable&&) noexcept = default;
    virtual ~CPeeksTable() = default;

    std::vector<cmpeek::TwinsDopParam> params; // table parameters (stored from version 3 on)

    // Reads the "Table" stream (legacy layout or versions 0-4) and runs RecomputePeaks.
    // Throws ArchiveError on a malformed stream and std::invalid_argument when peaks exist but the signal
    // has fewer than two samples; the chromatogram load turns both into a failed load.
    void ReadTable(std::span<const std::uint8_t> stream, const CLattice& signal);

    // Resolves the links (prevLinked; nextLinked outside the table becomes -1), then derives the baselines,
    // retentionTime, height and area of every peak from the signal.
    void RecomputePeaks(const CLattice& signal);

private:
    void ResolveLinks();
    std::vector<bool> ComputeChainBaselines(const CLattice& signal);
    void SubtractNestedPeaks();
};

} // namespace talvex
