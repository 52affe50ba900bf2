#pragma once

#include <string>

namespace talvex {

// Why a chromatogram file could not be read, for both file formats.
enum class ReadProblem {
    None,
    Missing,         // no such file
    NotChromatogram, // not a regular file, not a compound file, not a netCDF file
    Damaged,         // a stream or field of the file is wrong; `part` names it
    Held,            // another program holds the file locked for writing
    Unreadable,      // the system refused the open or the read (permissions, too large for the memory)
};

// What a read of a chromatogram file found. On failure `reason` says why in one English line for the
// command line (without the path), `part` names the stream or field that is wrong when the file is
// damaged; ReadProblemText gives the desktop program's Russian text.
struct ReadResult {
    bool ok = false;
    ReadProblem problem = ReadProblem::None;
    std::string part;
    std::string reason;
    int peaksLeftOut = 0; // ANDI files: peaks without a start or end time, which are not taken

    explicit operator bool() const { return ok; }

    static ReadResult Success() { return ReadResult{true, ReadProblem::None, {}, {}, 0}; }
    // `detail` is the English explanation after the problem's own words ("damaged: <detail>").
    static ReadResult Failure(ReadProblem problem, std::string detail = {}, std::string part = {});
};

// The reason in the Russian of the program's messages ("файл занят другой программой", ...).
std::string ReadProblemText(const ReadResult& result);

} // namespace talvex
