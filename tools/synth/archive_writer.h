#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace talvex::synth {

// How a string goes into a stream: one byte per character in Windows-1251 (characters the code page
// lacks become '?'), or UTF-16LE behind the FF FE FF marker.
enum class StringForm { OneByte, Utf16 };

// How a date-time goes into a stream: Short writes the seconds as an int32 whenever that reads back to
// the same value and falls back to the long form otherwise; Long always writes 0x8000000A and an int64.
enum class DateTimeForm { Short, Long };

// Builds a byte stream in the archive encoding of the chromatogram streams: little-endian integers and
// IEEE numbers without padding, strings behind the shortest length prefix that reads back to their length,
// date-times as seconds since the epoch. The counterpart of talvex::ArchiveReader.
class ArchiveWriter {
public:
    explicit ArchiveWriter(StringForm strings = StringForm::OneByte, DateTimeForm dates = DateTimeForm::Short)
        : strings_(strings), dates_(dates) {}

    void WriteInt32(std::int32_t v);
    void WriteUInt32(std::uint32_t v);
    void WriteUInt16(std::uint16_t v);
    void WriteByte(std::uint8_t v);
    void WriteFloat(float v);
    void WriteDouble(double v);
    void WriteInt64(std::int64_t v);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    void WriteZeros(std::size_t count);

    // UTF-8 text in the writer's form or in the one given. Throws std::length_error when the encoded
    // length reaches 2^31 characters, which no reader accepts.
    void WriteString(std::string_view utf8) { WriteString(utf8, strings_); }
    void WriteString(std::string_view utf8, StringForm form);

    void WriteDateTime(std::int64_t seconds) { WriteDateTime(seconds, dates_); }
    void WriteDateTime(std::int64_t seconds, DateTimeForm form);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void WriteLength(std::uint64_t length, bool wide);

    StringForm strings_;
    DateTimeForm dates_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace talvex::synth
