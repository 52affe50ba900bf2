#include "common/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
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

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
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
