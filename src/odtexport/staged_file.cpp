#include "staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

namespace brisquel {
namespace {

// Closes a descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now and reports the outcome: a network file system may report a failed write only here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A new file beside the target, created with the usual permissions (0666 less the umask) so that the
// finished report gets them too. Returns the descriptor and sets `path`. The name is short and fixed in
// length: the archive writer puts its own temporary file beside it with a suffix, and a target name near
// the file system's limit must still work.
int CreateSibling(const std::filesystem::path& target, std::string& path) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::minstd_rand random(seed());
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".brisquel-";
        for (int i = 0; i < 8; ++i)
            name += kLetters[pick(random)];
        std::filesystem::path candidate = target;
        candidate.replace_filename(name + ".part");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            path = candidate.string();
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool CopyAll(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return false;
            done += w;
        }
    }
}

} // namespace

StagedFile::~StagedFile() {
    if (!path_.empty())
        ::unlink(path_.c_str());
}

bool StagedFile::CopyFrom(const std::string& source, const std::string& target) {
    const std::filesystem::path targetPath(target);
    if (target.empty() || !targetPath.has_filename())
        return false;
    // O_NONBLOCK: a FIFO given as template must not hang the caller.
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat sourceStat {};
    if (in.Get() < 0 || ::fstat(in.Get(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return false;
    struct stat targetStat {};
    if (::stat(target.c_str(), &targetStat) == 0 && targetStat.st_dev == sourceStat.st_dev &&
        targetStat.st_ino == sourceStat.st_ino)
        return false; // the report would replace its own template

    std::string path;
    Descriptor out(CreateSibling(targetPath, path));
    if (out.Get() < 0)
        return false;
    path_ = path;
    target_ = target;
    const int flags = ::fcntl(in.Get(), F_GETFL);
    ::fcntl(in.Get(), F_SETFL, flags & ~O_NONBLOCK);
    if (!CopyAll(in.Get(), out.Get()) || !out.Close()) {
        ::unlink(path_.c_str());
        path_.clear();
        return false;
    }
    return true;
}

bool StagedFile::Commit() {
    const bool ok = std::rename(path_.c_str(), target_.c_str()) == 0;
    if (!ok)
        ::unlink(path_.c_str());
    path_.clear();
    return ok;
}

} // namespace brisquel
