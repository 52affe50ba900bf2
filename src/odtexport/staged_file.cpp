#include "odtexport/staged_file.h"

#include "base/unique_fd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

namespace brisquel {
namespace {

// A new hidden folder beside the target, for the staged copy and the archive writer's own temporary
// file. Returns its path, empty when the folder takes no new entry. The name is short and fixed in length.
std::string CreateStagingFolder(const std::filesystem::path& target) {
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
        if (::mkdir(candidate.c_str(), 0700) == 0)
            return candidate.string();
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// Flushes a file or a folder to the disk.
bool Sync(const std::string& path, int flags) {
    talvex::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags));
    return fd.Get() >= 0 && ::fsync(fd.Get()) == 0;
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
    Remove();
}

void StagedFile::Remove() {
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    folder_.clear();
    path_.clear();
}

bool StagedFile::CopyFrom(const std::string& source, const std::string& target) {
    const std::filesystem::path targetPath(target);
    if (target.empty() || !targetPath.has_filename())
        return false;
    // O_NONBLOCK: a FIFO given as template must not hang the caller.
    talvex::UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat sourceStat {};
    if (in.Get() < 0 || ::fstat(in.Get(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return false;
    struct stat targetStat {};
    if (::stat(target.c_str(), &targetStat) == 0 && targetStat.st_dev == sourceStat.st_dev &&
        targetStat.st_ino == sourceStat.st_ino)
        return false; // the report would replace its own template

    folder_ = CreateStagingFolder(targetPath);
    if (folder_.empty())
        return false;
    target_ = target;
    // Created with the usual permissions (0666 less the umask), so that the finished report gets them too.
    path_ = (std::filesystem::path(folder_) / "staged.odt").string();
    talvex::UniqueFd out(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    const int flags = ::fcntl(in.Get(), F_GETFL);
    ::fcntl(in.Get(), F_SETFL, flags & ~O_NONBLOCK);
    if (out.Get() < 0 || !CopyAll(in.Get(), out.Get()) || out.Close() != 0) {
        Remove();
        return false;
    }
    return true;
}

bool StagedFile::Commit() {
    const std::string folder = std::filesystem::path(target_).has_parent_path()
                                   ? std::filesystem::path(target_).parent_path().string()
                                   : std::string(".");
    const bool ok = Sync(path_, 0) && std::rename(path_.c_str(), target_.c_str()) == 0;
    if (ok)
        Sync(folder, O_DIRECTORY); // a folder that cannot be synced still holds the whole new file
    Remove();
    return ok;
}

} // namespace brisquel
