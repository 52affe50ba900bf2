#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace talvex {

// The text table format of every data file (Comps.csv, TableSection7.csv, TableSection8.csv,
// CompsTime.csv): Windows-1251 bytes, cells separated by ";", rows ended by CR LF, no quoting. A CR
// that is not followed by LF is an ordinary character. The first row is a header that the program never
// interprets and never rewrites. Only rows ended by CR LF count: an unfinished last line is ignored.
//
// In memory the cells are UTF-8. Cells have no length limit of their own: the program's own files keep
// their cells below 198 bytes, but a longer cell is read and written whole rather than cut.
//
// A file read is held to the limits below, hundreds of times what the shipped files hold (about 20 KB,
// 250 rows, lines under 300 bytes), so that a wrong file chosen as a data file is refused with a reason
// instead of being taken apart.
inline constexpr std::uint64_t kMaxCsvFileBytes = 16u << 20; // the whole file
inline constexpr std::size_t kMaxCsvLineBytes = 64u << 10;   // one line, its CR LF included
inline constexpr std::size_t kMaxCsvRows = 100000;           // lines ended by CR LF, the header included

class CsvTable {
public:
    using Row = std::vector<std::string>;

    std::vector<Row> rows;

    // Replaces `rows` by the rows of the file read from byte `dataStart` on (0 reads the header too).
    // A missing or unreadable file, one beyond the limits above, or a negative dataStart, gives false,
    // no rows and a message for the operator in `error`. A file of zero bytes, or one without a complete
    // line, gives true and no rows.
    bool ReadCsv(const std::filesystem::path& path, std::int64_t dataStart, std::string* error = nullptr);

    // Writes `rows` into the existing file behind its first `dataStart` bytes, which stay as they are
    // (HeaderLength() of the table read at load keeps the header line byte for byte), and ends the file
    // after the last row. The file is replaced atomically (see RewriteFileAfter): on any failure the old
    // file is untouched. Fails for a file that does not exist, a negative dataStart or one past the end of
    // the file, and for a cell that cannot be stored in the format — one holding ";" or CR LF, or a
    // character Windows-1251 lacks — rather than corrupting the file.
    bool WriteCsv(const std::filesystem::path& path, std::int64_t dataStart,
                  std::string* error = nullptr) const;

    // Byte length of the first row as a line of the file, its ";" separators and CR LF included; -1
    // without rows. Cells count one byte per character, as Windows-1251 stores them.
    std::int32_t HeaderLength() const;

    // The format without the file: rows of the given bytes, and the bytes of `rows` (false with `error`
    // when a cell cannot be stored).
    static std::vector<Row> ParseBytes(std::string_view bytes);
    bool ToBytes(std::string& bytes, std::string* error = nullptr) const;
};

} // namespace talvex
