#include "run_cli.h"

#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sstream>
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

std::vector<std::vector<std::string>> ReadTsv(const std::filesystem::path& file) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(ReadBytes(file));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string>& cells = rows.emplace_back();
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            cells.push_back(line.substr(start, tab - start));
        cells.push_back(line.substr(start));
    }
    return rows;
}

void CliFixture::SetUp() {
    std::filesystem::create_directories(dir_ / "config");
    CopyShippedDataFolder(dir_ / "data");
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
}

} // namespace talvex::testing
