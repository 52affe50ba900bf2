#include "core/components/csv_table.h"

#include "core/common/text_codec.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using Rows = std::vector<CsvTable::Row>;

// "Метан" and "Этан" as Windows-1251 bytes.
constexpr std::string_view kMethane1251 = "\xCC\xE5\xF2\xE0\xED";
constexpr std::string_view kEthane1251 = "\xDD\xF2\xE0\xED";

TEST(CsvTableParse, SplitsCellsAndRowsAndDecodesWindows1251) {
    const std::string bytes =
        "Name;Value\r\n" + std::string(kMethane1251) + ";16.043\r\n" + std::string(kEthane1251) + ";\r\n";
    EXPECT_EQ(CsvTable::ParseBytes(bytes), (Rows{{"Name", "Value"}, {"Метан", "16.043"}, {"Этан", ""}}));
}

TEST(CsvTableParse, EdgeCasesOfTheLineStructure) {
    const struct {
        std::string_view bytes;
        Rows expected;
    } cases[] = {
        {"", {}},                    // zero bytes
        {"a;b", {}},                 // no complete line at all
        {"h\r\nlast;line", {{"h"}}}, // an unfinished last line is dropped
        {"h\r\nx;y\n", {{"h"}}},     // a bare LF does not end a row
        {"\r\n", {{""}}},            // an empty line is one empty cell
        {"a;\r\n", {{"a", ""}}},     // ";" before CR LF adds an empty cell
        {";;\r\n", {{"", "", ""}}},
        {"a\rb;c\r\n", {{"a\rb", "c"}}}, // a CR without LF is a character
        {"a\r;b\r\n", {{"a\r", "b"}}},
        {"a\r\r\nb\r\n", {{"a\r"}, {"b"}}}, // CR CR LF: a CR in the cell, then the row end
        {"a\n\r\nb\r\n", {{"a\n"}, {"b"}}},
        {"short\r\nx;y;z;w\r\n", {{"short"}, {"x", "y", "z", "w"}}}, // rows of any length
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvTable::ParseBytes(c.bytes), c.expected)
            << ::testing::PrintToString(std::string(c.bytes));
}

TEST(CsvTableParse, KeepsCellsLongerThanTheUsualLimitWhole) {
    const std::string longCell(300, 'x');
    const std::string cyrillic(250 * 1, '\xE0'); // 250 × "а", 500 bytes in UTF-8
    const Rows rows = CsvTable::ParseBytes("h\r\n" + longCell + ";" + cyrillic + "\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], longCell);
    std::string expected;
    for (int i = 0; i < 250; ++i)
        expected += "а";
    EXPECT_EQ(rows[1][1], expected);
}

TEST(CsvTableHeaderLength, CountsTheLineAsStoredInTheFile) {
    CsvTable t;
    EXPECT_EQ(t.HeaderLength(), -1);
    t.rows = {{""}};
    EXPECT_EQ(t.HeaderLength(), 2); // CR LF only
    // Cyrillic letters take one byte each in the file, two in UTF-8.
    const std::string header = ";Компонент;Т кип, °С\r\n";
    t.rows = CsvTable::ParseBytes(Utf8ToCp1251(header));
    EXPECT_EQ(t.HeaderLength(), 22);
}

TEST(CsvTableBytes, RefusesCellsTheFormatCannotHold) {
    const struct {
        std::string cell;
        bool ok;
    } cases[] = {
        {"Метан", true}, {"a\rb", true},    {"a\nb", true}, {"°С", true},
        {"a;b", false},  {"a\r\nb", false}, {"см³", false}, // no superscript three in Windows-1251
        {"日本", false},
    };
    for (const auto& c : cases) {
        CsvTable t;
        t.rows = {{"x", c.cell}};
        std::string bytes;
        std::string error;
        EXPECT_EQ(t.ToBytes(bytes, &error), c.ok) << c.cell;
        if (!c.ok) {
            EXPECT_TRUE(bytes.empty());
            EXPECT_NE(error.find("Строка 1, столбец 2"), std::string::npos) << error;
        }
    }
}

TEST(CsvTableFile, RoundTripsCyrillicBehindTheHeaderKeptByteForByte) {
    TempFolder dir;
    // A header with bytes the program never interprets: trailing blanks, a lone CR, a byte ICU maps oddly.
    const std::string header = "\xCA\xEE\xEC\xEF\xEE\xED\xE5\xED\xF2 ;x\ry;\x98\r\n";
    const auto file = dir.Write("t.csv", header + "old;row;that;is;long;enough;to;be;cut\r\n");

    CsvTable read;
    ASSERT_TRUE(read.ReadCsv(file, 0));
    const std::int32_t headerLength = read.HeaderLength();
    EXPECT_EQ(headerLength, static_cast<std::int32_t>(header.size()));

    CsvTable out;
    out.rows = {{"", "Метан", "16.043000"}, {"Ёлка", "ё", ""}};
    std::string error;
    ASSERT_TRUE(out.WriteCsv(file, headerLength, &error)) << error;
    EXPECT_EQ(ReadBytes(file),
              header + ";" + std::string(kMethane1251) + ";16.043000\r\n\xA8\xEB\xEA\xE0;\xB8;\r\n");

    CsvTable again;
    ASSERT_TRUE(again.ReadCsv(file, headerLength));
    EXPECT_EQ(again.rows, out.rows);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.csv"}); // no temporary file left
}

TEST(CsvTableFile, ReadsFromAnOffsetAndFailsOnAMissingFile) {
    TempFolder dir;
    const auto file = dir.Write("t.csv", "head\r\na;b\r\n");
    CsvTable t;
    ASSERT_TRUE(t.ReadCsv(file, 6));
    EXPECT_EQ(t.rows, (Rows{{"a", "b"}}));
    ASSERT_TRUE(t.ReadCsv(file, 1000)); // past the end: nothing
    EXPECT_TRUE(t.rows.empty());

    t.rows = {{"stale"}};
    std::string error;
    EXPECT_FALSE(t.ReadCsv(dir / "absent.csv", 0, &error));
    EXPECT_TRUE(t.rows.empty());
    EXPECT_EQ(error, "Файл " + (dir / "absent.csv").string() + " не найден.");
    EXPECT_FALSE(t.ReadCsv(file, -1, &error));
}

// Each limit of a data file: a file at the limit is read whole, one byte, line or row past it is refused
// with the reason, and no rows are kept.
TEST(CsvTableFile, LimitsOfFileSizeLineLengthAndRows) {
    TempFolder dir;
    auto line = [](std::size_t bytes) { return std::string(bytes - 2, 'x') + "\r\n"; };
    auto lines = [](std::size_t count, const std::string& one) {
        std::string all;
        all.reserve(count * one.size() + 1);
        for (std::size_t i = 0; i < count; ++i)
            all += one;
        return all;
    };
    const std::size_t longLines = kMaxCsvFileBytes / kMaxCsvLineBytes;
    const struct {
        const char* what;
        std::string bytes;
        std::size_t rows;   // at the limit
        const char* reason; // past it
    } cases[] = {
        {"longest line", line(kMaxCsvLineBytes), 1, nullptr},
        {"line one byte too long", line(kMaxCsvLineBytes + 1), 0, "строка 1 длиннее 65536 байт."},
        {"unfinished last line too long", "a\r\n" + std::string(kMaxCsvLineBytes + 1, 'x'), 0,
         "строка 2 длиннее 65536 байт."},
        {"most rows", lines(kMaxCsvRows, "a;b\r\n"), kMaxCsvRows, nullptr},
        {"one row too many", lines(kMaxCsvRows + 1, "a;b\r\n"), 0, "в файле больше 100000 строк."},
        {"largest file", lines(longLines, line(kMaxCsvLineBytes)), longLines, nullptr},
        {"file one byte too large", lines(longLines, line(kMaxCsvLineBytes)) + "x", 0,
         "файл больше 16777216 байт."},
    };
    for (const auto& c : cases) {
        const auto file = dir.Write("t.csv", c.bytes);
        CsvTable t;
        t.rows = {{"stale"}};
        std::string error;
        EXPECT_EQ(t.ReadCsv(file, 0, &error), c.reason == nullptr) << c.what;
        EXPECT_EQ(t.rows.size(), c.rows) << c.what;
        if (c.reason) {
            EXPECT_EQ(error, "Не удалось прочитать файл " + file.string() + ":\r\n" + c.reason) << c.what;
        }
    }
    EXPECT_EQ(kMaxCsvFileBytes, longLines * kMaxCsvLineBytes); // the largest file is exactly at its limit
}

TEST(CsvTableFile, ZeroByteFileHasNoRowsAndCannotBeWrittenBehindAHeader) {
    TempFolder dir;
    const auto file = dir.Write("empty.csv", "");
    CsvTable t;
    ASSERT_TRUE(t.ReadCsv(file, 0));
    EXPECT_TRUE(t.rows.empty());
    EXPECT_EQ(t.HeaderLength(), -1);

    const std::int32_t headerLength = t.HeaderLength();
    t.rows = {{"a"}};
    std::string error;
    EXPECT_FALSE(t.WriteCsv(file, headerLength, &error));
    EXPECT_NE(error.find("нет строки заголовка"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(file), "");
}

TEST(CsvTableFile, WritingShortensTheFileAndAnEmptyTableLeavesTheHeader) {
    TempFolder dir;
    const auto file = dir.Write("t.csv", "H\r\n1\r\n2\r\n3\r\n");
    CsvTable t;
    t.rows = {{"9"}};
    ASSERT_TRUE(t.WriteCsv(file, 3));
    EXPECT_EQ(ReadBytes(file), "H\r\n9\r\n");
    t.rows.clear();
    ASSERT_TRUE(t.WriteCsv(file, 3));
    EXPECT_EQ(ReadBytes(file), "H\r\n");
}

TEST(CsvTableFile, AFailedWriteLeavesTheOldFileUntouched) {
    TempFolder dir;
    const std::string original = "H\r\nkeep;me\r\n";
    const auto file = dir.Write("t.csv", original);
    CsvTable t;
    t.rows = {{"bad;cell"}};
    std::string error;
    EXPECT_FALSE(t.WriteCsv(file, 3, &error));
    EXPECT_NE(error.find("bad;cell"), std::string::npos) << error;

    t.rows = {{"fine"}};
    EXPECT_FALSE(t.WriteCsv(file, 100, &error)); // the kept header would run past the end of the file
    EXPECT_FALSE(t.WriteCsv(dir / "absent.csv", 0, &error)); // never created
    EXPECT_EQ(error, "Файл " + (dir / "absent.csv").string() + " не найден.");

    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.csv"});
}

} // namespace
} // namespace talvex
