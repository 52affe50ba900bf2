#include "core/chromatogram/archive_reader.h"

#include "core/common/text_codec.h"

#include <cstring>
#include <type_traits>

namespace talvex {
namespace {

template <typename T> T LoadLittleEndian(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    if constexpr (sizeof(T) == 8) {
        T out;
        std::memcpy(&out, &v, 8);
        return out;
    } else {
        using U = std::conditional_t<sizeof(T) == 4, std::uint32_t,
                                     std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint8_t>>;
        const U narrow = static_cast<U>(v);
        T out;
        std::memcpy(&out, &narrow, sizeof(T));
        return out;
    }
}

constexpr std::uint32_t kLongDateTime = 0x8000000A;

} // namespace

std::span<const std::uint8_t> ArchiveReader::ReadBytes(std::size_t count) {
    if (count > Remaining())
        throw ArchiveError("read past the end of the stream");
    const auto out = bytes_.subspan(pos_, count);
    pos_ += count;
    return out;
}

std::uint8_t ArchiveReader::ReadByte() {
    return ReadBytes(1)[0];
}
std::uint16_t ArchiveReader::ReadUInt16() {
    return LoadLittleEndian<std::uint16_t>(ReadBytes(2).data());
}
std::uint32_t ArchiveReader::ReadUInt32() {
    return LoadLittleEndian<std::uint32_t>(ReadBytes(4).data());
}
std::int32_t ArchiveReader::ReadInt32() {
    return LoadLittleEndian<std::int32_t>(ReadBytes(4).data());
}
std::int64_t ArchiveReader::ReadInt64() {
    return LoadLittleEndian<std::int64_t>(ReadBytes(8).data());
}
float ArchiveReader::ReadFloat() {
    return LoadLittleEndian<float>(ReadBytes(4).data());
}
double ArchiveReader::ReadDouble() {
    return LoadLittleEndian<double>(ReadBytes(8).data());
}

void ArchiveReader::RequireItems(std::uint64_t count, std::size_t minBytes) const {
    if (minBytes != 0 && count > Remaining() / minBytes)
        throw ArchiveError("a count is larger than what the stream holds");
}

// Length prefix: a byte; 0xFF escapes to a uint16, whose value 0xFFFE marks UTF-16 text and starts the
// prefix once more; 0xFFFF escapes to a uint32, and its 0xFFFFFFFF to a uint64 that must stay below 2^31.
std::uint64_t ArchiveReader::ReadStringLength(bool& wide) {
    wide = false;
    std::uint8_t b = ReadByte();
    if (b < 0xFF)
        return b;
    std::uint16_t w = ReadUInt16();
    if (w == 0xFFFE) {
        wide = true;
        b = ReadByte();
        if (b < 0xFF)
            return b;
        w = ReadUInt16();
    }
    if (w < 0xFFFF)
        return w;
    const std::uint32_t d = ReadUInt32();
    if (d < 0xFFFFFFFFu)
        return d;
    const auto q = static_cast<std::uint64_t>(ReadInt64());
    if (q >= (std::uint64_t{1} << 31))
        throw ArchiveError("string length out of range");
    return q;
}

std::string ArchiveReader::ReadString() {
    bool wide = false;
    const std::uint64_t length = ReadStringLength(wide);
    const std::size_t unit = wide ? 2 : 1;
    RequireItems(length, unit);
    const auto chars = ReadBytes(static_cast<std::size_t>(length) * unit);
    if (wide)
        return Utf16LeToUtf8(chars.data(), chars.size() / 2);
    return Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(chars.data()), chars.size()));
}

std::int64_t ArchiveReader::ReadDateTime() {
    const std::int32_t t = ReadInt32();
    if (static_cast<std::uint32_t>(t) == kLongDateTime)
        return ReadInt64();
    return t;
}

} // namespace talvex
