#include "core/common/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace talvex {
namespace {

constexpr std::size_t kOutputKept = 64 * 1024;

bool IsExecutableFile(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void KeepTail(std::string& output, const char* bytes, std::size_t count) {
    output.append(bytes, count);
    if (output.size() > kOutputKept)
        output.erase(0, output.size() - kOutputKept);
}

// Waits up to `waitMs` for output and keeps what arrives; false once the pipe is closed.
bool ReadAvailable(int fd, int waitMs, std::string& output) {
    pollfd watch{fd, POLLIN, 0};
    if (::poll(&watch, 1, waitMs) <= 0)
        return true;
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) {
        KeepTail(output, buffer, static_cast<std::size_t>(got));
        return true;
    }
    return got < 0 && errno == EINTR;
}

bool HasData(int fd) {
    pollfd watch{fd, POLLIN, 0};
    return ::poll(&watch, 1, 0) > 0;
}

// Starts argv in a process group of its own with the given descriptors as stdin, stdout and stderr
// (stdin "/dev/null" when `in` is negative, stderr to `errorFile` or /dev/null). -1 when it cannot start.
pid_t SpawnInGroup(const std::vector<std::string>& argv, int in, int out, int err,
                   const std::string& errorFile) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    if (in < 0)
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    if (err >= 0)
        posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO,
                                         errorFile.empty() ? "/dev/null" : errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? child : -1;
}

} // namespace

std::optional<std::filesystem::path> FindProgram(const std::string& program) {
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string::npos)
        return IsExecutableFile(program) ? std::optional<std::filesystem::path>(program) : std::nullopt;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : folder) / program;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

ChildOutcome RunChild(const std::vector<std::string>& argv, std::chrono::milliseconds timeLimit) {
    ChildOutcome outcome;
    if (argv.empty())
        return outcome;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return outcome;

    const pid_t child = SpawnInGroup(argv, -1, pipeEnds[1], pipeEnds[1], {});
    ::close(pipeEnds[1]);
    if (child < 0) {
        ::close(pipeEnds[0]);
        return outcome;
    }
    outcome.started = true;

    // Collect the output until the program ends or time runs out. The office suite's helpers may hold the
    // pipe open after the program itself has ended, so its end, not the pipe's, is what counts.
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    int status = 0;
    bool reaped = false;
    bool pipeOpen = true;
    while (!reaped) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            outcome.timedOut = true;
            break;
        }
        const int wait = static_cast<int>(std::min<long long>(left.count(), 50));
        if (pipeOpen)
            pipeOpen = ReadAvailable(pipeEnds[0], wait, outcome.output);
        else
            ::usleep(static_cast<useconds_t>(wait) * 1000);
        reaped = ::waitpid(child, &status, WNOHANG) == child;
    }
    // What the program wrote just before it ended (bounded: a helper left behind may go on writing).
    for (int reads = 0; reaped && pipeOpen && reads < 256 && HasData(pipeEnds[0]); ++reads)
        pipeOpen = ReadAvailable(pipeEnds[0], 0, outcome.output);
    ::close(pipeEnds[0]);
    // Whatever is still running in the group (a timed-out program, or helpers left behind) goes.
    ::kill(-child, SIGKILL);
    if (!reaped)
        ::waitpid(child, &status, 0);
    if (!outcome.timedOut && WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    return outcome;
}

PipedChild::~PipedChild() {
    Stop();
}

bool PipedChild::Start(const std::vector<std::string>& argv, const std::filesystem::path& errorFile) {
    if (argv.empty() || Running())
        return false;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    const pid_t child = SpawnInGroup(argv, ends[1], ends[1], -1, errorFile.string());
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return false;
    }
    pid_ = child;
    socket_ = ends[0];
    buffer_.clear();
    return true;
}

bool PipedChild::WriteLine(const std::string& line) {
    if (socket_ < 0)
        return false;
    const std::string bytes = line + "\n";
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

PipedChild::ReadResult PipedChild::ReadLine(std::string& line, std::chrono::milliseconds timeLimit) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    while (true) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return ReadResult::Line;
        }
        if (socket_ < 0)
            return ReadResult::Closed;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return ReadResult::TimedOut;
        pollfd watch{socket_, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready <= 0)
            continue;
        char chunk[4096];
        const ssize_t got = ::recv(socket_, chunk, sizeof chunk, 0);
        if (got > 0)
            buffer_.append(chunk, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            return ReadResult::Closed;
    }
}

void PipedChild::CloseInput() {
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_WR);
}

void PipedChild::Stop(std::chrono::milliseconds grace) {
    if (pid_ <= 0)
        return;
    CloseInput();
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    bool reaped = ::waitpid(pid_, &status, WNOHANG) == pid_;
    while (!reaped && std::chrono::steady_clock::now() < deadline) {
        ::usleep(20 * 1000);
        reaped = ::waitpid(pid_, &status, WNOHANG) == pid_;
    }
    // Whatever is still running in the group (the program itself, or what it started) goes.
    ::kill(-pid_, SIGKILL);
    if (!reaped)
        ::waitpid(pid_, &status, 0);
    pid_ = -1;
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
}

void PipedChild::Kill() {
    const int pid = pid_.load();
    if (pid > 0)
        ::kill(-pid, SIGKILL);
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = (tmp && *tmp ? std::string(tmp) : std::string("/tmp")) + "/" + prefix + "XXXXXX";
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string FileUrl(const std::filesystem::path& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : absolutePath.string()) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

} // namespace talvex
