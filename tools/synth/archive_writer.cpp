#include "archive_writer.h"

#include "core/common/text_codec.h"

#include <bit>
#include <limits>
#include <stdexcept>

namespace talvex::synth {
namespace {

constexpr std::uint32_t kLongDateTime = 0x8000000A;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint64_t kMaxStringLength = (std::uint64_t{1} << 31) - 1;

} // namespace

void ArchiveWriter::WriteByte(std::uint8_t v) {
    bytes_.push_back(v);
}

void ArchiveWriter::WriteUInt16(std::uint16_t v) {
    WriteByte(static_cast<std::uint8_t>(v));
    WriteByte(static_cast<std::uint8_t>(v >> 8));
}

void ArchiveWriter::WriteUInt32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        WriteByte(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ArchiveWriter::WriteInt64(std::int64_t v) {
    const auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        WriteByte(static_cast<std::uint8_t>(u >> (8 * i)));
}

void ArchiveWriter::WriteInt32(std::int32_t v) {
    WriteUInt32(static_cast<std::uint32_t>(v));
}
void ArchiveWriter::WriteFloat(float v) {
    WriteUInt32(std::bit_cast<std::uint32_t>(v));
}
void ArchiveWriter::WriteDouble(double v) {
    WriteInt64(std::bit_cast<std::int64_t>(v));
}

void ArchiveWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::WriteZeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
}

// A byte below 0xFF; else 0xFF and a uint16 below 0xFFFF; else 0xFFFF and a uint32. A one-byte string of
// exactly 0xFFFE characters cannot use the uint16 step, because 0xFFFE there announces UTF-16 text.
void ArchiveWriter::WriteLength(std::uint64_t length, bool wide) {
    if (length > kMaxStringLength)
        throw std::length_error("a string too long for the archive encoding");
    if (wide) {
        WriteByte(0xFF);
        WriteUInt16(kWideMarker);
    }
    if (length < 0xFF) {
        WriteByte(static_cast<std::uint8_t>(length));
        return;
    }
    WriteByte(0xFF);
    if (length < 0xFFFF && (wide || length != kWideMarker)) {
        WriteUInt16(static_cast<std::uint16_t>(length));
        return;
    }
    WriteUInt16(0xFFFF);
    WriteUInt32(static_cast<std::uint32_t>(length));
}

void ArchiveWriter::WriteString(std::string_view utf8, StringForm form) {
    if (form == StringForm::Utf16) {
        const std::u16string units = Utf8ToUtf16(utf8);
        WriteLength(units.size(), true);
        for (const char16_t u : units)
            WriteUInt16(static_cast<std::uint16_t>(u));
        return;
    }
    const std::string bytes = Utf8ToCp1251(utf8);
    WriteLength(bytes.size(), false);
    for (const char c : bytes)
        WriteByte(static_cast<std::uint8_t>(c));
}

// The short form is the int32 itself, except for the one value that reads as the long-form marker.
void ArchiveWriter::WriteDateTime(std::int64_t seconds, DateTimeForm form) {
    const bool fits = seconds >= std::numeric_limits<std::int32_t>::min() &&
                      seconds <= std::numeric_limits<std::int32_t>::max() &&
                      static_cast<std::uint32_t>(seconds) != kLongDateTime;
    if (form == DateTimeForm::Short && fits) {
        WriteInt32(static_cast<std::int32_t>(seconds));
        return;
    }
    WriteUInt32(kLongDateTime);
    WriteInt64(seconds);
}

} // namespace talvex::synth
