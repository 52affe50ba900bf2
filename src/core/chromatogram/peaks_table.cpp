#include "core/chromatogram/peaks_table.h"

#include "core/chromatogram/archive_reader.h"
#include "core/common/text_codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace talvex {
namespace {

constexpr std::uint32_t kTableMagic1 = 0x125FFE11;
constexpr std::uint32_t kTableMagic2 = 0xA2D28C45;
constexpr std::int32_t kLatestTableVersion = 4;
constexpr std::size_t kLegacyRecordSize = 112;
constexpr std::size_t kLegacyNameSize = 32; // offsets 24..55, zero-terminated

// The fewest bytes a versioned peak record can take: three doubles, an empty string, nextLinked, then
// flags (v2+) and an empty parameter list (v3+). Used to refuse counts the stream cannot hold.
std::size_t MinRecordSize(std::int32_t version) {
    if (version < 1)
        return kLegacyRecordSize;
    return 3 * 8 + 1 + 4 + (version >= 2 ? 4 : 0) + (version >= 3 ? 4 : 0);
}

void ReadLegacyRecord(ArchiveReader& r, cmpeek& p) {
    const auto record = r.ReadBytes(kLegacyRecordSize);
    ArchiveReader fields(record);
    p.endTime = fields.ReadDouble();
    p.beginTime = fields.ReadDouble();
    p.storedValue = fields.ReadDouble();
    const auto nameBytes = fields.ReadBytes(kLegacyNameSize);
    const char* name = reinterpret_cast<const char*>(nameBytes.data());
    p.name = Cp1251ToUtf8(std::string_view(name, strnlen(name, kLegacyNameSize)));
    p.nextLinked = fields.ReadInt32();
}

void ReadParams(ArchiveReader& r, std::int32_t version, std::vector<cmpeek::TwinsDopParam>& list) {
    const std::uint32_t count = r.ReadUInt32();
    r.RequireItems(count, 2); // every pair holds two strings of at least one byte
    if (count == 0) {
        list.clear();
        return;
    }
    if (version == 3) {
        for (std::uint32_t i = 0; i < count; ++i) {
            cmpeek::TwinsDopParam pair;
            pair.name = r.ReadString();
            pair.value = r.ReadString();
            if (pair.name.empty())
                continue;
            bool duplicate = false;
            for (const auto& kept : list)
                duplicate = duplicate || kept.name == pair.name;
            if (!duplicate)
                list.push_back(std::move(pair));
        }
        return;
    }
    list.resize(count);
    for (auto& pair : list) {
        pair.name = r.ReadString();
        pair.value = r.ReadString();
    }
}

void ReadRecord(ArchiveReader& r, std::int32_t version, cmpeek& p) {
    if (version < 1) {
        ReadLegacyRecord(r, p);
        return;
    }
    p.beginTime = r.ReadDouble();
    p.endTime = r.ReadDouble();
    p.storedValue = r.ReadDouble();
    p.name = r.ReadString();
    p.nextLinked = r.ReadInt32();
    if (version >= 2)
        p.flags = r.ReadInt32();
    if (version >= 3)
        ReadParams(r, version, p.params);
}

// Sample index range [first, last] inside [ts, te], clamped to the signal. Quotients are compared as
// doubles before any conversion, so NaN, infinities and huge bounds give an empty or edge range.
struct SampleRange {
    long long first;
    long long last;
};

SampleRange SamplesInside(double ts, double te, double startTime, double dx, long long n) {
    const double f = std::ceil((ts - startTime) / dx);
    const double l = std::floor((te - startTime) / dx);
    SampleRange range{0, -1};
    range.first = !(f > 0.0) ? 0 : (f >= static_cast<double>(n) ? n : static_cast<long long>(f));
    range.last = !(l >= 0.0) ? -1 : (l >= static_cast<double>(n - 1) ? n - 1 : static_cast<long long>(l));
    return range;
}

// The signal as the data system sees it: interpolated, then rounded to single precision.
double SignalAt(const CLattice& signal, double t) {
    return static_cast<float>(signal.ValueAt(t));
}

// Pass 2 of the recomputation: apex, height and area by the trapezoid rule over the samples inside the
// bounds, with the partial intervals at both ends, minus the trapezoid under the baseline.
void ComputePeak(cmpeek& p, bool inChain, const CLattice& signal) {
    const double ts = p.beginTime;
    const double te = p.endTime;
    const double dx = signal.step;
    const auto& y = signal.samples;
    const SampleRange range = SamplesInside(ts, te, signal.startTime, dx, static_cast<long long>(y.size()));
    const double ys = SignalAt(signal, ts);
    const double ye = SignalAt(signal, te);
    if (!inChain) {
        p.baselineStart = ys;
        p.baselineEnd = ye;
    }
    if (range.last < range.first) {
        p.retentionTime = (ts + te) / 2;
        p.height = (ys + ye) / 2 - (p.baselineStart + p.baselineEnd) / 2;
        // Signal trapezoid minus baseline trapezoid over [ts, te]: about 0 for an unlinked peak.
        p.area = p.height * (te - ts);
        return;
    }
    p.retentionTime = 0;
    p.area = 0;
    p.height = std::numeric_limits<double>::lowest();
    for (long long k = range.first; k <= range.last; ++k) {
        const double t = static_cast<double>(k) * dx + signal.startTime;
        const double b = te == ts
                             ? p.baselineStart
                             : p.baselineStart + (p.baselineEnd - p.baselineStart) * (t - ts) / (te - ts);
        const double d = std::fabs(y[k] - b);
        if (d > p.height) {
            p.height = d;
            p.retentionTime = t;
        }
        p.area += y[k];
    }
    const float yFirst = y[range.first];
    const float yLast = y[range.last];
    const float edgeSum = yFirst + yLast; // the data system sums the two edge samples in single precision
    const double tFirst = static_cast<double>(range.first) * dx + signal.startTime;
    const double tLast = static_cast<double>(range.last) * dx + signal.startTime;
    p.area = p.area * dx - edgeSum * dx / 2;
    p.area = p.area + (ys + yFirst) * (tFirst - ts) / 2 + (ye + yLast) * (te - tLast) / 2 -
             (p.baselineStart + p.baselineEnd) * (te - ts) / 2;
}

} // namespace

void CPeeksTable::ReadTable(std::span<const std::uint8_t> stream, const CLattice& signal) {
    clear();
    params.clear();
    std::int32_t version = 0;
    std::uint64_t count = 0;
    ArchiveReader r(stream);
    if (stream.size() >= 8) {
        const std::uint32_t m1 = r.ReadUInt32();
        const std::uint32_t m2 = r.ReadUInt32();
        if (m1 == kTableMagic1 && m2 == kTableMagic2) {
            version = r.ReadInt32();
            if (version > kLatestTableVersion)
                throw ArchiveError("unsupported table version");
            const std::int32_t n = r.ReadInt32();
            if (n < 0)
                throw ArchiveError("negative peak count");
            count = static_cast<std::uint64_t>(n);
        } else {
            r = ArchiveReader(stream);
            count = stream.size() / kLegacyRecordSize;
        }
        r.RequireItems(count, MinRecordSize(version));
        resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < size(); ++i) {
            cmpeek& p = (*this)[i];
            p.index = static_cast<std::int32_t>(i);
            ReadRecord(r, version, p);
        }
        if (version >= 3)
            ReadParams(r, version, params);
    }
    RecomputePeaks(signal);
}

// A link to a peak outside the table is dropped; the target of a valid link learns its predecessor (the
// last one in table order when several name it).
void CPeeksTable::ResolveLinks() {
    const auto n = static_cast<std::int32_t>(size());
    for (auto& p : *this)
        p.prevLinked = -1;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t j = (*this)[i].nextLinked;
        if (j >= 0 && j < n)
            (*this)[j].prevLinked = i;
        else
            (*this)[i].nextLinked = -1;
    }
}

void CPeeksTable::RecomputePeaks(const CLattice& signal) {
    ResolveLinks();
    if (empty())
        return;
    const std::vector<bool> inChain = ComputeChainBaselines(signal);
    for (std::size_t i = 0; i < size(); ++i)
        ComputePeak((*this)[i], inChain[i], signal);
    SubtractNestedPeaks();
}

// Pass 1: every chain of linked peaks gets one straight baseline from the signal at the start of its first
// peak to the signal at the end of its last. A walk stops at a peak it has already visited, so a stored
// cycle cannot loop; peaks that no chain start reaches (a pure cycle) are treated as unlinked.
std::vector<bool> CPeeksTable::ComputeChainBaselines(const CLattice& signal) {
    const std::size_t n = size();
    std::vector<bool> inChain(n, false);
    std::vector<std::size_t> visitedIn(n, n); // the chain start whose walk last visited a peak
    std::vector<std::int32_t> chain;
    for (std::size_t i = 0; i < n; ++i) {
        const cmpeek& head = (*this)[i];
        if (head.nextLinked < 0 || head.prevLinked >= 0)
            continue;
        chain.clear();
        for (std::int32_t m = static_cast<std::int32_t>(i); m >= 0 && visitedIn[m] != i;
             m = (*this)[m].nextLinked) {
            visitedIn[m] = i;
            chain.push_back(m);
        }
        const double a = head.beginTime;
        const double b = (*this)[chain.back()].endTime;
        const double sa = SignalAt(signal, a);
        const double sb = SignalAt(signal, b);
        for (const std::int32_t m : chain) {
            cmpeek& p = (*this)[m];
            inChain[m] = true;
            if (a == b) {
                p.baselineStart = p.baselineEnd = sa;
            } else {
                p.baselineStart = sa + (p.beginTime - a) * (sb - sa) / (b - a);
                p.baselineEnd = sa + (p.endTime - a) * (sb - sa) / (b - a);
            }
        }
    }
    return inChain;
}

// Pass 3: a peak lying wholly inside another (a rider) keeps its area, and the larger one loses it. Areas
// are taken as they stand at that moment: the hosts in table order, each losing its riders in table order.
// A rider with ordered bounds starts inside its host, so only those are searched, by their start; riders
// with reversed bounds are few and each is checked against every host. A NaN bound nests nothing.
void CPeeksTable::SubtractNestedPeaks() {
    const std::size_t n = size();
    std::vector<std::size_t> byBegin;
    std::vector<std::size_t> reversed;
    for (std::size_t k = 0; k < n; ++k) {
        const cmpeek& p = (*this)[k];
        if (p.beginTime <= p.endTime)
            byBegin.push_back(k);
        else if (p.beginTime > p.endTime)
            reversed.push_back(k);
    }
    std::stable_sort(byBegin.begin(), byBegin.end(), [this](std::size_t a, std::size_t b) {
        return (*this)[a].beginTime < (*this)[b].beginTime;
    });
    std::vector<std::size_t> riders;
    for (std::size_t j = 0; j < n; ++j) {
        cmpeek& outer = (*this)[j];
        riders.clear();
        const auto first =
            std::lower_bound(byBegin.begin(), byBegin.end(), outer.beginTime,
                             [this](std::size_t k, double t) { return (*this)[k].beginTime < t; });
        for (auto it = first; it != byBegin.end() && (*this)[*it].beginTime <= outer.endTime; ++it)
            if (*it != j && (*this)[*it].endTime <= outer.endTime)
                riders.push_back(*it);
        for (const std::size_t k : reversed)
            if (k != j && (*this)[k].beginTime >= outer.beginTime && (*this)[k].endTime <= outer.endTime)
                riders.push_back(k);
        std::sort(riders.begin(), riders.end());
        for (const std::size_t k : riders)
            outer.area = outer.area - (*this)[k].area;
    }
}

} // namespace talvex
