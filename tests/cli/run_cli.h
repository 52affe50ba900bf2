#pragma once

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace talvex::testing {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program of the build (bin/NAME) with the arguments, no shell involved, and collects its
// exit status and both output streams.
CommandResult RunProgram(const std::string& name, const std::vector<std::string>& args);

// The rows of a table file of the CLI's export, each split at its tabs.
std::vector<std::vector<std::string>> ReadTsv(const std::filesystem::path& file);

// The example session's degassing inputs as options of `run`: method A with the typed values of the
// README's demo.
inline std::vector<std::string> ExampleDegassingOptions() {
    return {"--method",      "A",      "--pressure",    "99,8",   "--temperature", "293,6",
            "--gas-volume1", "0.0118", "--gas-volume2", "0.0004", "--cond-mass1",  "84.6",
            "--cond-mass2",  "1.7"};
}

// A CLI test in a folder of its own: `dir_` holds an empty profile folder ("config", the run's
// XDG_CONFIG_HOME) and a copy of the shipped data folder ("data").
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override;

    TempFolder dir_;
};

} // namespace talvex::testing
