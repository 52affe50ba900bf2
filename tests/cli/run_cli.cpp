#include "run_cli.h"

#include "test_files.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace talvex::testing {

CommandResult RunProgram(const std::string& name, const std::vector<std::string>& args) {
    namespace fs = std::filesystem;
    static int counter = 0;
    const fs::path base = fs::temp_directory_path() /
                          ("talvex-run-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    const std::string outPath = base.string() + ".out";
    const std::string errPath = base.string() + ".err";
    const std::string program = std::string(TALVEX_BIN_DIR) + "/" + name;

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    CommandResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return result;
}

} // namespace talvex::testing
