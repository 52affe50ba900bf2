// The byte content of the four streams of a chromatogram file.
#include "stg_writer.h"

#include "core/common/text_codec.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <stdexcept>

namespace talvex::synth {
namespace {

constexpr std::uint32_t kPassportSignature = 0xE04561CC;
constexpr std::uint32_t kTableMagic1 = 0x125FFE11;
constexpr std::uint32_t kTableMagic2 = 0xA2D28C45;
constexpr std::size_t kLegacyRecordSize = 112;
constexpr std::size_t kLegacyNameBytes = 31; // offsets 24..55 with room for the terminating zero

void WriteLegacyRecord(ArchiveWriter& w, const talvex::cmpeek& p) {
    w.WriteDouble(p.endTime);
    w.WriteDouble(p.beginTime);
    w.WriteDouble(p.storedValue);
    std::string name = Utf8ToCp1251(p.name);
    name.resize(std::min(name.size(), kLegacyNameBytes));
    for (const char c : name)
        w.WriteByte(static_cast<std::uint8_t>(c));
    w.WriteZeros(kLegacyNameBytes + 1 - name.size());
    w.WriteInt32(p.nextLinked);
    w.WriteZeros(kLegacyRecordSize - 60);
}

void WriteParams(ArchiveWriter& w, const std::vector<talvex::cmpeek::TwinsDopParam>& params) {
    if (params.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many parameters for one list");
    w.WriteUInt32(static_cast<std::uint32_t>(params.size()));
    for (const auto& pair : params) {
        w.WriteString(pair.name);
        w.WriteString(pair.value);
    }
}

void WriteVersionedRecord(ArchiveWriter& w, int version, const talvex::cmpeek& p) {
    w.WriteDouble(p.beginTime);
    w.WriteDouble(p.endTime);
    w.WriteDouble(p.storedValue);
    w.WriteString(p.name);
    w.WriteInt32(p.nextLinked);
    if (version >= 2)
        w.WriteInt32(p.flags);
    if (version >= 3)
        WriteParams(w, p.params);
}

// A bare legacy table whose first end time has the bit pattern of the two magic words would be read as a
// versioned table, so it cannot be written.
void RequireLegacyReadsBack(const StgContent& content) {
    if (content.peaks.empty())
        return;
    const auto bits = std::bit_cast<std::uint64_t>(content.peaks.front().endTime);
    if (bits == (std::uint64_t{kTableMagic2} << 32 | kTableMagic1))
        throw std::invalid_argument("the first peak's end time reads as the versioned table header");
}

} // namespace

std::vector<std::uint8_t> EncodeRawData(const StgContent& content) {
    ArchiveWriter w;
    for (const float s : content.samples)
        w.WriteFloat(s);
    return w.Take();
}

std::vector<std::uint8_t> EncodeTime(const StgContent& content) {
    const float a = content.startTime;
    const float b = a + content.step;
    const double last = content.samples.empty() ? 0.0 : static_cast<double>(content.samples.size() - 1);
    const float c =
        content.timeEndMark.value_or(static_cast<float>(a + static_cast<double>(content.step) * last));
    ArchiveWriter w;
    w.WriteFloat(a);
    w.WriteFloat(b);
    w.WriteFloat(c);
    return w.Take();
}

float StoredStep(float startTime, float step) {
    const float b = startTime + step;
    return b - startTime;
}

std::vector<std::uint8_t> EncodeTable(const StgContent& content) {
    ArchiveWriter w(content.stringForm);
    if (content.tableLayout == TableLayout::Legacy) {
        RequireLegacyReadsBack(content);
        for (const auto& p : content.peaks)
            WriteLegacyRecord(w, p);
        return w.Take();
    }
    if (content.peaks.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("too many peaks for one table");
    const int version = content.tableVersion;
    w.WriteUInt32(kTableMagic1);
    w.WriteUInt32(kTableMagic2);
    w.WriteInt32(version);
    w.WriteInt32(static_cast<std::int32_t>(content.peaks.size()));
    for (const auto& p : content.peaks) {
        if (version < 1)
            WriteLegacyRecord(w, p);
        else
            WriteVersionedRecord(w, version, p);
    }
    if (version >= 3)
        WriteParams(w, content.tableParams);
    return w.Take();
}

// The passport values in stream order; the ones no reader uses get the values the data system writes for
// an ordinary run (an int32 1 after the duration, zeros and empty strings elsewhere).
std::vector<std::uint8_t> EncodePassport(const StgContent& content) {
    const talvex::CPassport& p = content.passport;
    const int version = content.passportVersion;
    ArchiveWriter w(content.stringForm, content.dateTimeForm);
    w.WriteUInt32(kPassportSignature);
    w.WriteInt32(version);
    w.WriteString(p.sampleName);
    w.WriteString("");
    w.WriteDouble(p.volume);
    w.WriteDouble(p.dilution);
    w.WriteDouble(p.norm);
    w.WriteDateTime(p.samplingTime);
    w.WriteString(p.samplingPoint);
    w.WriteString(p.method);
    w.WriteDouble(p.duration);
    w.WriteInt32(1);
    w.WriteInt32(p.seriesNo);
    w.WriteInt32(p.calibrationFlag);
    w.WriteString(p.operatorName);
    w.WriteString("");
    w.WriteString("");
    w.WriteInt32(0);
    w.WriteZeros(4 * 8); // four doubles, 0.0
    w.WriteString(p.eluent);
    w.WriteZeros(3 * 8);
    w.WriteString(p.reagent);
    w.WriteZeros(3 * 8);
    w.WriteDateTime(p.analysisTime);
    w.WriteInt32(0);
    w.WriteString("");
    w.WriteString(p.comment);
    if (version >= 2)
        w.WriteString(p.samplingSite);
    if (version >= 3)
        w.WriteZeros(2 * 8);
    return w.Take();
}

} // namespace talvex::synth
