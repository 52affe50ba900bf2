#pragma once

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
// read whole. The open is read-only and exclusive: it takes a non-blocking exclusive advisory lock
// (flock), so a file another process has locked fails to open, and holds it until the object is gone.
class CompoundFile {
public:
    CompoundFile() = default;
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;
    ~CompoundFile();

    // False when the file is missing, not a regular file, locked, larger than kMaxChromatogramFileBytes
    // or not a compound file.
    bool Open(const std::string& path);

    // Opens the bytes of a whole file held in memory, which must outlive this object (no lock, no copy).
    // False when they are more than kMaxChromatogramFileBytes or not a compound file.
    bool OpenMemory(std::span<const std::uint8_t> bytes);

    // The whole content of a root stream. Throws ArchiveError when the stream is missing, cannot be read,
    // or claims more bytes than the file holds (so nothing larger than the file is ever allocated).
    std::vector<std::uint8_t> ReadStream(const char* name);

    // A stream read as little-endian float32 values straight into the result, floor(size / 4) of them;
    // trailing bytes are ignored. Throws like ReadStream.
    std::vector<float> ReadFloatStream(const char* name);

private:
    void Close();
    // Takes `input` (a GsfInput*) as the file's bytes; false, closed, when it holds no compound file.
    bool OpenInput(void* input);
    // Opens a root stream whose size is possible for this file; the caller unrefs it. Throws ArchiveError.
    void* OpenStream(const char* name, std::uint64_t& size);
    // Reads `size` bytes of the stream into `dest` and releases the stream. Throws ArchiveError.
    static void ReadAndRelease(void* stream, void* dest, std::uint64_t size, const char* name);

    int fd_ = -1;
    void* file_ = nullptr;   // FILE*
    void* input_ = nullptr;  // GsfInput*
    void* infile_ = nullptr; // GsfInfile*
    std::uint64_t fileSize_ = 0;
};

} // namespace talvex
