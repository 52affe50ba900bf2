#include "core/common/data_file_io.h"

#include "base/unique_fd.h"
#include "core/common/format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace talvex {
namespace {

void SetError(std::string* error, std::string text) {
    if (error)
        *error = std::move(text);
}

std::string ErrnoText(int code) {
    return std::error_code(code, std::generic_category()).message();
}

std::string NotFoundText(const std::filesystem::path& path) {
    return StrPrintf("Файл %s не найден.", path.string().c_str());
}

std::string ReadFailedText(const std::filesystem::path& path, const std::string& reason) {
    return StrPrintf("Не удалось прочитать файл %s:\r\n%s", path.string().c_str(), reason.c_str());
}

std::string WriteFailedText(const std::filesystem::path& path, const std::string& reason) {
    return StrPrintf("Не удалось записать файл %s:\r\n%s", path.string().c_str(), reason.c_str());
}

bool ReadAll(int fd, std::uint64_t count, std::string& out, int& err) {
    out.clear();
    out.resize(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            return false;
        }
        if (n == 0) // the file shrank while being read
            break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return true;
}

bool WriteAll(int fd, std::string_view data, int& err) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Opens an existing regular file for reading; fills `st`.
int OpenExisting(const std::filesystem::path& path, struct stat& st, int& err) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return -1;
    }
    return fd;
}

// Writes `head` and `tail` to a temporary file in the target's folder, syncs it and renames it over the
// target: a crash or a full disk leaves the old file or the new one, never a mix. The new file gets `mode`,
// and the old file's owner when `old` is given and we may set it.
bool CommitThroughTemporaryFile(const std::filesystem::path& path, const std::filesystem::path& target,
                                mode_t mode, const struct stat* old, std::string_view head,
                                std::string_view tail, std::string* error) {
    int err = 0;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    UniqueFd out(::mkstemp(name.data()));
    if (out.Get() < 0) {
        SetError(error, WriteFailedText(path, ErrnoText(errno)));
        return false;
    }
    const std::string tempPath(name.data());

    auto fail = [&](int code) {
        if (out.Get() >= 0)
            out.Close();
        ::unlink(tempPath.c_str());
        SetError(error, WriteFailedText(path, ErrnoText(code)));
        return false;
    };

    if (::fchmod(out.Get(), mode) != 0)
        return fail(errno);
    if (old && ::fchown(out.Get(), old->st_uid, old->st_gid) != 0) {
        // Only a privileged process may give the file away; an ordinary user's file is theirs anyway.
    }
    if (!WriteAll(out.Get(), head, err) || !WriteAll(out.Get(), tail, err))
        return fail(err);
    if (::fsync(out.Get()) != 0)
        return fail(errno);
    if (out.Close() != 0)
        return fail(errno);
    if (::rename(tempPath.c_str(), target.c_str()) != 0)
        return fail(errno);

    // Make the rename itself durable; a folder that cannot be synced still holds the complete new file.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

bool ReadFileFrom(const std::filesystem::path& path, std::uint64_t offset, std::string& bytes,
                  std::string* error) {
    bytes.clear();
    struct stat st {};
    int err = 0;
    UniqueFd fd(OpenExisting(path, st, err));
    if (fd.Get() < 0) {
        SetError(error, err == ENOENT ? NotFoundText(path) : ReadFailedText(path, ErrnoText(err)));
        return false;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (offset >= size)
        return true;
    if (::lseek(fd.Get(), static_cast<off_t>(offset), SEEK_SET) < 0 ||
        !ReadAll(fd.Get(), size - offset, bytes, err)) {
        if (err == 0)
            err = errno;
        bytes.clear();
        SetError(error, ReadFailedText(path, ErrnoText(err)));
        return false;
    }
    return true;
}

bool RewriteFileAfter(const std::filesystem::path& path, std::uint64_t keep, std::string_view tail,
                      std::string* error) {
    // Replace the file a link points to, not the link.
    std::filesystem::path target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
        if (!ec)
            target = resolved;
    }

    struct stat st {};
    int err = 0;
    std::string kept;
    {
        UniqueFd in(OpenExisting(target, st, err));
        if (in.Get() < 0) {
            SetError(error, err == ENOENT ? NotFoundText(path) : WriteFailedText(path, ErrnoText(err)));
            return false;
        }
        // A read-only file is one the operator does not want changed, even where the folder would allow
        // replacing it (and even for the superuser, whom the permission bits alone would not stop).
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
            SetError(error, WriteFailedText(path, ErrnoText(EACCES)));
            return false;
        }
        if (static_cast<std::uint64_t>(st.st_size) < keep) {
            SetError(error, WriteFailedText(path, "файл короче строки заголовка, которую нужно сохранить."));
            return false;
        }
        if (!ReadAll(in.Get(), keep, kept, err) || kept.size() != keep) {
            SetError(error, WriteFailedText(path, err ? ErrnoText(err) : "файл изменился во время чтения."));
            return false;
        }
    }

    return CommitThroughTemporaryFile(path, target, st.st_mode & 07777, &st, kept, tail, error);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content, std::string* error) {
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        SetError(error, WriteFailedText(path, ErrnoText(S_ISDIR(st.st_mode) ? EISDIR : EINVAL)));
        return false;
    }
    return CommitThroughTemporaryFile(path, path, exists ? st.st_mode & 07777 : 0644, exists ? &st : nullptr,
                                      {}, content, error);
}

} // namespace talvex
