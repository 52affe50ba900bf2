#include "chromatogram/chm_file.h"

#include "chromatogram/andi_file.h"
#include "chromatogram/archive_reader.h"
#include "chromatogram/chromatogram_path.h"
#include "chromatogram/compound_file.h"

#include <exception>

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

namespace {

bool ReadStreams(CompoundFile& file, CChmFile& chm) {
    try {
        ReadSignal(file, chm.signal);
        ReadTimeAxis(file.ReadStream("Time"), chm.signal);
        chm.peaks.AttachSignal(&chm.signal);
        chm.peaks.ReadTable(file.ReadStream("Table"));
        chm.passport.Parse(file.ReadStream("Passport"));
    } catch (const std::exception&) {
        // A malformed stream (ArchiveError), a signal too short for its peaks (invalid_argument) or a
        // stream too large for memory: the load fails, nothing escapes the reader.
        return false;
    }
    return true;
}

} // namespace

CChmFile::CChmFile(const CChmFile& other)
    : signal(other.signal), passport(other.passport), peaks(other.peaks) {
    peaks.AttachSignal(&signal);
}

CChmFile& CChmFile::operator=(const CChmFile& other) {
    if (this != &other) {
        signal = other.signal;
        passport = other.passport;
        peaks = other.peaks;
        peaks.AttachSignal(&signal);
    }
    return *this;
}

CChmFile::CChmFile(CChmFile&& other) noexcept
    : signal(std::move(other.signal)), passport(std::move(other.passport)), peaks(std::move(other.peaks)) {
    peaks.AttachSignal(&signal);
    other.peaks.AttachSignal(&other.signal);
}

CChmFile& CChmFile::operator=(CChmFile&& other) noexcept {
    if (this != &other) {
        signal = std::move(other.signal);
        passport = std::move(other.passport);
        peaks = std::move(other.peaks);
        peaks.AttachSignal(&signal);
        other.peaks.AttachSignal(&other.signal);
    }
    return *this;
}

bool CChmFile::Load(const std::string& filePath) {
    if (IsAndiPath(filePath))
        return LoadAndiFile(filePath, *this).ok;
    CompoundFile file;
    if (!file.Open(filePath) || !ReadStreams(file, *this))
        return false;
    passport.path = filePath;
    return true;
}

bool CChmFile::LoadMemory(std::span<const std::uint8_t> bytes) {
    CompoundFile file;
    return file.OpenMemory(bytes) && ReadStreams(file, *this);
}

} // namespace talvex
