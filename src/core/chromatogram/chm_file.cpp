#include "core/chromatogram/chm_file.h"

#include "core/chromatogram/andi_file.h"
#include "core/chromatogram/archive_reader.h"
#include "core/chromatogram/chromatogram_path.h"
#include "core/chromatogram/compound_file.h"

#include <exception>
#include <new>
#include <stdexcept>

namespace talvex {
namespace {

void ReadSignal(CompoundFile& file, CLattice& signal) {
    signal.samples = file.ReadFloatStream("Raw_data");
}

} // namespace

void ReadTimeAxis(std::span<const std::uint8_t> time, CLattice& signal) {
    if (time.size() < 12) {
        signal.startTime = 0.0;
        signal.step = 1.0;
        return;
    }
    ArchiveReader reader(time);
    const float a = reader.ReadFloat();
    const float b = reader.ReadFloat();
    signal.startTime = a;
    signal.step = static_cast<float>(b - a); // the data system subtracts in single precision
}

ReadResult StreamFailure(const char* stream, const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return ReadResult::Failure(ReadProblem::Unreadable,
                                   std::string("stream ") + stream + " is too large for the memory");
    if (dynamic_cast<const std::invalid_argument*>(&error))
        return ReadResult::Failure(
            ReadProblem::Damaged,
            std::string("stream ") + stream + ": the signal has fewer than two points for its peaks", stream);
    return ReadResult::Failure(ReadProblem::Damaged, std::string("stream ") + stream + ": " + error.what(),
                               stream);
}

namespace {

// The four streams of an opened `.stg` file into the record.
ReadResult ReadStreams(CompoundFile& file, CChmFile& chm) {
    const char* stream = "Raw_data";
    try {
        ReadSignal(file, chm.signal);
        stream = "Time";
        ReadTimeAxis(file.ReadStream("Time"), chm.signal);
        stream = "Table";
        chm.peaks.ReadTable(file.ReadStream("Table"), chm.signal);
        stream = "Passport";
        chm.passport.Parse(file.ReadStream("Passport"));
    } catch (const std::exception& e) {
        // A malformed stream (ArchiveError), a signal too short for its peaks (invalid_argument) or a
        // stream too large for memory: the load fails with the stream it stopped at, nothing escapes.
        return StreamFailure(stream, e);
    }
    return ReadResult::Success();
}

} // namespace

ReadResult CChmFile::Load(const std::string& filePath) {
    if (IsAndiPath(filePath))
        return LoadAndiFile(filePath, *this);
    CompoundFile file;
    if (ReadResult opened = file.Open(filePath); !opened)
        return opened;
    if (ReadResult read = ReadStreams(file, *this); !read)
        return read;
    passport.path = filePath;
    return ReadResult::Success();
}

ReadResult CChmFile::LoadMemory(std::span<const std::uint8_t> bytes) {
    CompoundFile file;
    if (ReadResult opened = file.OpenMemory(bytes); !opened)
        return opened;
    return ReadStreams(file, *this);
}

} // namespace talvex
