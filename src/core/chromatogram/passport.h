#pragma once

#include "core/chromatogram/read_result.h"

#include <cstdint>
#include <span>
#include <string>

namespace talvex {

// Sample and analysis metadata of a chromatogram (the "Passport" stream). Date-times are seconds since
// 1970-01-01 00:00:00 UTC and are shown in local time. Values of the stream that no part of the program
// reads are skipped while parsing and not kept.
class CPassport {
public:
    CPassport(); // samplingTime = today 00:00 local time, analysisTime = now
    CPassport(const CPassport&) = default;
    CPassport(CPassport&&) noexcept = default;
    CPassport& operator=(const CPassport&) = default;
    CPassport& operator=(CPassport&&) noexcept = default;
    virtual ~CPassport() = default;

    std::string sampleName;
    std::string method;
    std::string operatorName;
    std::string samplingPoint;
    std::string samplingSite; // stored from passport version 2 on
    std::string eluent;
    std::string reagent;
    std::string comment;
    std::string path; // the file the passport was read from; the chromatogram's identity in the list
    double volume = 1.0;
    double dilution = 1.0;
    double norm = 100.0;
    double duration = 0.0; // minutes
    std::int32_t seriesNo = 0;
    std::int32_t calibrationFlag = 0; // nonzero marks a calibration run
    std::int64_t samplingTime = 0;
    std::int64_t analysisTime = 0;

    // Reads only the "Passport" stream of a chromatogram file. Fails with its reason when the file cannot
    // be opened (missing, held by a writer, not a chromatogram file) or the stream is missing or malformed.
    ReadResult ReadPassportFile(const std::string& filePath);

    // Parses a "Passport" stream (signature, version 1-3, fields). Throws ArchiveError when malformed.
    void Parse(std::span<const std::uint8_t> stream);

    // The multi-line description the browser shows; lines end with CR LF.
    std::string Describe() const;
};

// A date-time in local time with strftime codes; empty when the value is beyond what the C library holds.
std::string FormatLocalTime(std::int64_t seconds, const char* format);

} // namespace talvex
