#include "core/chromatogram/archive_reader.h"

#include "archive_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace talvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string ReadOneString(const Bytes& bytes) {
    ArchiveReader r(bytes);
    std::string s = r.ReadString();
    EXPECT_EQ(r.Remaining(), 0u);
    return s;
}

TEST(ArchiveReaderString, OneByteAndUtf16FormsOfAsciiReadAlike) {
    const Bytes oneByte = {0x05, 'h', 'e', 'l', 'l', 'o'};
    const Bytes utf16 = {0xFF, 0xFE, 0xFF, 0x05, 'h', 0, 'e', 0, 'l', 0, 'l', 0, 'o', 0};
    EXPECT_EQ(ReadOneString(oneByte), "hello");
    EXPECT_EQ(ReadOneString(utf16), "hello");
    EXPECT_EQ(ReadOneString({0x00}), "");
}

TEST(ArchiveReaderString, OneByteTextIsWindows1251) {
    // "Метан" in Windows-1251.
    EXPECT_EQ(ReadOneString({0x05, 0xCC, 0xE5, 0xF2, 0xE0, 0xED}), "Метан");
    EXPECT_EQ(ReadOneString({0xFF, 0xFE, 0xFF, 0x02, 0x1C, 0x04, 0x35, 0x04}), "Ме");
}

TEST(ArchiveReaderString, LongLengthPrefixes) {
    for (const std::size_t length : {254u, 255u, 300u, 65534u, 65535u, 70000u}) {
        for (const auto form : {synth::StringForm::OneByte, synth::StringForm::Utf16}) {
            synth::ArchiveWriter w(form);
            const std::string text(length, 'x');
            w.WriteString(text);
            w.WriteInt32(77); // what follows must still be in place
            ArchiveReader r(w.Bytes());
            EXPECT_EQ(r.ReadString(), text) << length;
            EXPECT_EQ(r.ReadInt32(), 77) << length;
        }
    }
    // FF then FFFF then a 32-bit length.
    Bytes explicit32 = {0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'};
    EXPECT_EQ(ReadOneString(explicit32), "abc");
}

TEST(ArchiveReaderString, ImpossibleLengthsFailWithoutAllocating) {
    const Bytes cases[] = {
        {0x05, 'a', 'b'},                                // shorter than its prefix says
        {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b'},           // UTF-16 with an odd tail
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, // 2 GiB announced, one byte present
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,       // 64-bit length of 2^31: refused
         0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00},
        {0xFF, 0xFF}, // a cut-off prefix
    };
    for (const Bytes& bytes : cases) {
        ArchiveReader r(bytes);
        EXPECT_THROW(r.ReadString(), ArchiveError) << bytes.size();
    }
}

TEST(ArchiveReaderDateTime, ShortAndLongForms) {
    const Bytes shortForm = {0x10, 0x00, 0x00, 0x00};
    const Bytes negative = {0xFE, 0xFF, 0xFF, 0xFF};
    const Bytes longForm = {0x0A, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(ArchiveReader(shortForm).ReadDateTime(), 16);
    EXPECT_EQ(ArchiveReader(negative).ReadDateTime(), -2);
    EXPECT_EQ(ArchiveReader(longForm).ReadDateTime(), std::int64_t{1} << 32);
    const Bytes cut = {0x0A, 0x00, 0x00, 0x80, 0x00};
    ArchiveReader r(cut);
    EXPECT_THROW(r.ReadDateTime(), ArchiveError);
}

TEST(ArchiveReaderNumbers, LittleEndianAndNoReadPastTheEnd) {
    const Bytes bytes = {0x01, 0x02, 0x03, 0x04, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    ArchiveReader r(bytes);
    EXPECT_EQ(r.ReadInt32(), 0x04030201);
    EXPECT_EQ(r.ReadDouble(), 1.0);
    EXPECT_THROW(r.ReadByte(), ArchiveError);
    EXPECT_EQ(r.Position(), 12u);
}

TEST(ArchiveReaderCounts, RequireItemsRefusesCountsBeyondTheBytesLeft) {
    const Bytes bytes(100, 0);
    ArchiveReader r(bytes);
    EXPECT_NO_THROW(r.RequireItems(10, 10));
    EXPECT_THROW(r.RequireItems(11, 10), ArchiveError);
    EXPECT_THROW(r.RequireItems(0xFFFFFFFFu, 29), ArchiveError);
}

} // namespace
} // namespace talvex
