#pragma once

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
