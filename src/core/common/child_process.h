#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace talvex {

// Running another program (the office suite) without a shell and without waiting for ever.

// The full path of `program` found on PATH (or `program` itself when it holds a slash and is executable);
// nullopt when there is none.
std::optional<std::filesystem::path> FindProgram(const std::string& program);

struct ChildOutcome {
    bool started = false;  // the program could be started at all
    bool timedOut = false; // it ran past the time limit and was killed with everything it started
    int exitStatus = -1;   // its exit status when it ended by itself, else -1
    std::string output;    // what it wrote to stdout and stderr, the last 64 KiB at most
};

// Runs argv[0] (looked up on PATH) with the arguments, stdin from /dev/null, in a process group of its own,
// so that on timeout the whole group (helpers it forked included) is killed.
ChildOutcome RunChild(const std::vector<std::string>& argv, std::chrono::milliseconds timeLimit);

// A program that runs alongside the caller and talks with it line by line over its stdin and stdout (one
// socket pair, so that writing to a program that has gone never raises SIGPIPE). It runs in a process group
// of its own: Stop() ends it together with everything it started.
class PipedChild {
public:
    PipedChild() = default;
    ~PipedChild(); // Stop() without grace
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    // Starts argv[0] (looked up on PATH); its stderr goes to `errorFile` (truncated), or to /dev/null when
    // that is empty. False when it cannot be started or one is already running.
    bool Start(const std::vector<std::string>& argv, const std::filesystem::path& errorFile = {});
    bool Running() const { return pid_ > 0; }

    // Sends `line` and a line feed; false when the program does not take it.
    bool WriteLine(const std::string& line);

    enum class ReadResult { Line, TimedOut, Closed };
    // The next line the program writes, without its line feed; waits at most `timeLimit`.
    ReadResult ReadLine(std::string& line, std::chrono::milliseconds timeLimit);

    // Tells the program that no more input comes (it reads end of file).
    void CloseInput();

    // Waits up to `grace` for the program to end by itself, then kills its whole group. Safe to repeat.
    void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(0));
    // Kills the program and everything it started at once, without waiting. Safe from another thread
    // while a call waits for the program: that call then sees the end (ReadLine: Closed). Stop() still
    // collects the program afterwards.
    void Kill();

private:
    std::atomic<int> pid_{-1}; // read by Kill() from another thread
    int socket_ = -1;
    std::string buffer_; // read but not yet handed out
};

// A folder of its own below the user's temporary folder, removed with everything in it when the object goes.
class TemporaryFolder {
public:
    // `prefix` starts the folder's name; Valid() tells whether it could be made.
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool Valid() const { return !path_.empty(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The "file://" URL of an absolute path, every byte outside the unreserved set and "/" percent-encoded.
std::string FileUrl(const std::filesystem::path& absolutePath);

} // namespace talvex
