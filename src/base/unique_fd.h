#pragma once

#include <unistd.h>

namespace talvex {

// Owns a file descriptor and closes it on every path out of a function. Header-only and free of
// dependencies, shared by the core and the ODT export library.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now and reports the result (0 or -1 with errno): on some file systems, a network one among
    // them, a failed write shows only here.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd);
    }

private:
    int fd_;
};

} // namespace talvex
