#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// A chromatogram file opened for reading: a compound file (OLE structured storage) whose root streams are
// read whole. The open is read-only and exclusive: it takes a non-blocking exclusive advisory lock
// (flock), so a file another process has locked fails to open, and holds it until the object is gone.
class CompoundFile {
public:
    CompoundFile() = default;
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;
    ~CompoundFile();

    // False when the file is missing, not a regular file, locked, or not a compound file.
    bool Open(const std::string& path);

    // The whole content of a root stream. Throws ArchiveError when the stream is missing, cannot be read,
    // or claims more bytes than the file holds (so nothing larger than the file is ever allocated).
    std::vector<std::uint8_t> ReadStream(const char* name);

private:
    void Close();

    int fd_ = -1;
    void* file_ = nullptr;   // FILE*
    void* input_ = nullptr;  // GsfInput*
    void* infile_ = nullptr; // GsfInfile*
    std::uint64_t fileSize_ = 0;
};

} // namespace talvex
