#pragma once

#include "archive_writer.h"

#include "core/chromatogram/cmpeek.h"
#include "core/chromatogram/passport.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace talvex::synth {

// How the "Table" stream is laid out: Legacy is a bare run of 112-byte records (the count follows from
// the stream size); Versioned starts with the two magic words, the version and the peak count.
enum class TableLayout { Legacy, Versioned };

// Everything one chromatogram file holds. Values are written as given: versions outside what a reader
// accepts (passport 4, table 5) are written in the newest layout with that number, which is how files a
// reader must refuse are made. Fields a layout does not store are left out (samplingSite below passport
// version 2; flags below table version 2; parameter lists below 3; in 112-byte records every string is
// one-byte text cut to 31 bytes).
struct StgContent {
    talvex::CPassport passport; // path is not stored; note the constructor stamps both times with "now"
    int passportVersion = 3;
    StringForm stringForm = StringForm::OneByte;     // passport strings and versioned-table strings
    DateTimeForm dateTimeForm = DateTimeForm::Short; // samplingTime and analysisTime

    std::vector<float> samples;       // "Raw_data"
    float startTime = 0.0f;           // minutes
    float step = 1.0f;                // minutes; a reader gets StoredStep(startTime, step)
    std::optional<float> timeEndMark; // third value of "Time"; default the time of the last sample

    TableLayout tableLayout = TableLayout::Versioned;
    int tableVersion = 4; // used by the versioned layout; below 1 means 112-byte records after the header
    // Stored per peak: beginTime, endTime, storedValue, name, nextLinked, flags, params; the rest of
    // cmpeek is computed by a reader and ignored here.
    std::vector<talvex::cmpeek> peaks;
    std::vector<talvex::cmpeek::TwinsDopParam> tableParams;

    // Replaces the bytes of a stream ("Raw_data", "Time", "Table", "Passport"), or leaves it out when
    // the value is empty; any other name adds a stream of that name with the given bytes.
    std::map<std::string, std::optional<std::vector<std::uint8_t>>> streamOverrides;
};

// The stream contents as WriteStg stores them, without overrides. The table and passport encoders throw
// std::length_error for a string the encoding cannot hold and std::invalid_argument for a legacy table
// whose first record would read back as the versioned header.
std::vector<std::uint8_t> EncodeRawData(const StgContent& content);
std::vector<std::uint8_t> EncodeTime(const StgContent& content);
std::vector<std::uint8_t> EncodeTable(const StgContent& content);
std::vector<std::uint8_t> EncodePassport(const StgContent& content);

// The step a reader derives from the "Time" stream, (start + step) - start in single precision; it differs
// from `step` in the last bits when start is not zero. Generate the signal with this step.
float StoredStep(float startTime, float step);

// Writes the file as a compound file with the four streams in its root storage, replacing any file at
// `path` only once the new one is complete. The output is a function of `content` alone (no time stamps),
// so equal content gives byte-identical files. On failure returns false with a one-line reason in *error.
bool WriteStg(const std::string& path, const StgContent& content, std::string* error);

} // namespace talvex::synth
