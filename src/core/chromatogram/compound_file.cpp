#include "core/chromatogram/compound_file.h"

#include "core/chromatogram/archive_reader.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-proxy.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-shared-memory.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talvex {
namespace {

// libgsf registers its object types on first use without a lock: two threads opening their first files at
// once can see a type half registered ("invalid cast from GsfInputStdio to GsfInput") and crash. The types
// are registered once, before any file is opened.
void RegisterGsfTypes() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const GType type :
             {GSF_INPUT_TYPE, GSF_INPUT_STDIO_TYPE, GSF_INPUT_MEMORY_TYPE, GSF_INPUT_PROXY_TYPE,
              GSF_SHARED_MEMORY_TYPE, GSF_INFILE_TYPE, GSF_INFILE_MSOLE_TYPE})
            g_type_class_unref(g_type_class_ref(type));
    });
}

} // namespace

CompoundFile::~CompoundFile() {
    Close();
}

void CompoundFile::Close() {
    if (infile_)
        g_object_unref(static_cast<GsfInfile*>(infile_));
    if (input_)
        g_object_unref(static_cast<GsfInput*>(input_));
    if (file_)
        std::fclose(static_cast<FILE*>(file_)); // also closes fd_ and so releases the lock
    else if (fd_ >= 0)
        ::close(fd_);
    infile_ = input_ = file_ = nullptr;
    fd_ = -1;
}

ReadResult CompoundFile::Open(const std::string& path) {
    RegisterGsfTypes();
    Close();
    // O_NONBLOCK keeps a FIFO or device from hanging the open; only regular files are accepted below.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return ReadResult::Failure(ReadProblem::Missing);
        return ReadResult::Failure(ReadProblem::Unreadable, std::strerror(error));
    }
    const auto fail = [this](ReadProblem problem, std::string detail) {
        Close();
        return ReadResult::Failure(problem, std::move(detail));
    };
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return fail(ReadProblem::Unreadable, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return fail(ReadProblem::NotChromatogram, "not a regular file");
    if (static_cast<std::uint64_t>(st.st_size) > kMaxChromatogramFileBytes)
        return fail(ReadProblem::NotChromatogram, "larger than 1 GiB, the largest chromatogram file read");
    // Shared: readers never stand in each other's way; only a writer's exclusive lock refuses the open.
    if (::flock(fd_, LOCK_SH | LOCK_NB) != 0) {
        const int error = errno;
        return error == EWOULDBLOCK
                   ? fail(ReadProblem::Held, {})
                   : fail(ReadProblem::Unreadable, std::string("cannot lock: ") + std::strerror(error));
    }
    fileSize_ = static_cast<std::uint64_t>(st.st_size);
    FILE* f = ::fdopen(fd_, "rb");
    if (!f)
        return fail(ReadProblem::Unreadable, std::strerror(errno));
    file_ = f;
    return OpenInput(gsf_input_stdio_new_FILE(path.c_str(), f, TRUE));
}

ReadResult CompoundFile::OpenMemory(std::span<const std::uint8_t> bytes) {
    RegisterGsfTypes();
    Close();
    if (bytes.size() > kMaxChromatogramFileBytes)
        return ReadResult::Failure(ReadProblem::NotChromatogram,
                                   "larger than 1 GiB, the largest chromatogram file read");
    fileSize_ = bytes.size();
    return OpenInput(gsf_input_memory_new(bytes.data(), static_cast<gsf_off_t>(bytes.size()), FALSE));
}

ReadResult CompoundFile::OpenInput(void* opened) {
    auto* input = static_cast<GsfInput*>(opened);
    if (!input) {
        Close();
        return ReadResult::Failure(ReadProblem::Unreadable, {});
    }
    input_ = input;
    GError* error = nullptr;
    GsfInfile* infile = gsf_infile_msole_new(input, &error);
    if (error)
        g_error_free(error);
    if (!infile) {
        Close();
        return ReadResult::Failure(ReadProblem::NotChromatogram, "not a compound file");
    }
    infile_ = infile;
    return ReadResult::Success();
}

void* CompoundFile::OpenStream(const char* name, std::uint64_t& size) {
    if (!infile_)
        throw ArchiveError("the file is not open");
    GsfInput* stream = gsf_infile_child_by_name(static_cast<GsfInfile*>(infile_), name);
    if (!stream)
        throw ArchiveError("missing");
    const gsf_off_t streamSize = gsf_input_size(stream);
    if (streamSize < 0 || static_cast<std::uint64_t>(streamSize) > fileSize_) {
        g_object_unref(stream);
        throw ArchiveError("larger than the file");
    }
    size = static_cast<std::uint64_t>(streamSize);
    return stream;
}

void CompoundFile::ReadAndRelease(void* stream, void* dest, std::uint64_t size) {
    auto* input = static_cast<GsfInput*>(stream);
    const bool ok = size == 0 || gsf_input_read(input, size, static_cast<guint8*>(dest)) != nullptr;
    g_object_unref(input);
    if (!ok)
        throw ArchiveError("cannot be read");
}

std::vector<std::uint8_t> CompoundFile::ReadStream(const char* name) {
    std::uint64_t size = 0;
    void* stream = OpenStream(name, size);
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (...) {
        g_object_unref(static_cast<GsfInput*>(stream));
        throw;
    }
    ReadAndRelease(stream, bytes.data(), size);
    return bytes;
}

std::vector<float> CompoundFile::ReadFloatStream(const char* name) {
    std::uint64_t size = 0;
    void* stream = OpenStream(name, size);
    auto* input = static_cast<GsfInput*>(stream);
    const auto count = static_cast<std::size_t>(size / 4);
    std::vector<float> values;
    try {
        values.reserve(count);
    } catch (...) {
        g_object_unref(input);
        throw;
    }
    // Read through a small buffer and appended, so that the long signal is written once instead of being
    // cleared first and then overwritten.
    constexpr std::size_t kChunk = 16384;
    float chunk[kChunk];
    while (values.size() < count) {
        const std::size_t n = std::min(kChunk, count - values.size());
        if (!gsf_input_read(input, n * 4, reinterpret_cast<guint8*>(chunk))) {
            g_object_unref(input);
            throw ArchiveError("cannot be read");
        }
        values.insert(values.end(), chunk, chunk + n);
    }
    g_object_unref(input);
    if constexpr (std::endian::native == std::endian::big)
        for (float& v : values)
            v = std::bit_cast<float>(__builtin_bswap32(std::bit_cast<std::uint32_t>(v)));
    return values;
}

} // namespace talvex
