#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace talvex {

// A stream of the chromatogram file that is malformed: read past its end, a bad signature or version,
// an impossible length or count.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the archive encoding of the chromatogram streams from a byte buffer: little-endian integers and
// IEEE numbers without padding, length-prefixed strings (one-byte Windows-1251 or UTF-16), date-times.
// Every read checks the bytes left first and throws ArchiveError instead of running past the end.
class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::uint16_t ReadUInt16();
    std::uint8_t ReadByte();
    float ReadFloat();
    double ReadDouble();
    std::int64_t ReadInt64();
    std::string ReadString();    // returned as UTF-8
    std::int64_t ReadDateTime(); // seconds since the epoch
    std::span<const std::uint8_t> ReadBytes(std::size_t count);
    void Skip(std::size_t count) { ReadBytes(count); }

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return bytes_.size() - pos_; }
    // Throws unless `count` items of at least `minBytes` each can still follow; used before allocating.
    void RequireItems(std::uint64_t count, std::size_t minBytes) const;

private:
    std::uint64_t ReadStringLength(bool& wide);

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace talvex
