#pragma once

#include "core/chromatogram/read_result.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace talvex {

// The largest chromatogram file read: a gigabyte, a signal of some 268 million samples, far beyond any
// run (a day at 100 Hz is 8.6 million). Every stream is held to what the file holds, so this bounds
// what a file can make the program allocate.
inline constexpr std::uint64_t kMaxChromatogramFileBytes = std::uint64_t{1} << 30;

// A chromatogram file opened for reading: a compound file (OLE structured storage) whose root streams are
// read whole. The open is read-only and takes a shared, non-blocking advisory lock (flock), held until the
// object is gone: any number of readers open the file at once, while a writer holding an exclusive lock
// makes the open fail as "held by another program".
class CompoundFile {
public:
    CompoundFile() = default;
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;
    ~CompoundFile();

    // Fails when the file is missing, not a regular file, held by a writer, larger than
    // kMaxChromatogramFileBytes or not a compound file.
    ReadResult Open(const std::string& path);

    // Opens the bytes of a whole file held in memory, which must outlive this object (no lock, no copy).
    // Fails when they are more than kMaxChromatogramFileBytes or not a compound file.
    ReadResult OpenMemory(std::span<const std::uint8_t> bytes);

    // The whole content of a root stream. Throws ArchiveError when the stream is missing, cannot be read,
    // or claims more bytes than the file holds (so nothing larger than the file is ever allocated); the
    // caller knows which stream it asked for, so the error does not repeat its name.
    std::vector<std::uint8_t> ReadStream(const char* name);

    // A stream read as little-endian float32 values straight into the result, floor(size / 4) of them;
    // trailing bytes are ignored. Throws like ReadStream.
    std::vector<float> ReadFloatStream(const char* name);

private:
    void Close();
    // Takes `input` (a GsfInput*) as the file's bytes; fails, closed, when it holds no compound file.
    ReadResult OpenInput(void* input);
    // Opens a root stream whose size is possible for this file; the caller unrefs it. Throws ArchiveError.
    void* OpenStream(const char* name, std::uint64_t& size);
    // Reads `size` bytes of the stream into `dest` and releases the stream. Throws ArchiveError.
    static void ReadAndRelease(void* stream, void* dest, std::uint64_t size);

    int fd_ = -1;
    void* file_ = nullptr;   // FILE*
    void* input_ = nullptr;  // GsfInput*
    void* infile_ = nullptr; // GsfInfile*
    std::uint64_t fileSize_ = 0;
};

} // namespace talvex
