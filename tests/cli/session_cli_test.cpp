#include "run_cli.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

// Every file below a folder by its relative path, with its content.
std::map<std::string, std::string> TreeContent(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            files[fs::relative(e.path(), folder).string()] = testing::ReadBytes(e.path());
    return files;
}

// The example session's runs and a copy of the data folder in a folder of the test's own, an empty profile
// and a fixed calculation time, so that two runs can be compared to the byte.
class SessionCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("SOURCE_DATE_EPOCH", "1709626029", 1);
        fs::create_directories(dir_ / "lab" / "runs");
        testing::CopyShippedDataFolder(dir_ / "lab" / "data");
        for (const auto& e : fs::directory_iterator(fs::path(TALVEX_SOURCE_DIR) / "examples"))
            if (e.path().extension() == ".stg")
                fs::copy_file(e.path(), dir_ / "lab" / "runs" / e.path().filename());
    }
    void TearDown() override { unsetenv("SOURCE_DATE_EPOCH"); }

    std::vector<std::string> Outputs(const std::string& out) const {
        return {"--tables", (dir_ / out / "tables").string(),
                "--xml",    (dir_ / out / "report.xml").string(),
                "--json",   (dir_ / out / "results.json").string()};
    }

    // The example session typed on the command line with these settings, saved as lab/example.tlvx.
    testing::CommandResult SaveExample(std::vector<std::string> settings = {"--decimals", "4", "--switch",
                                                                            "CD_CSR=0"}) {
        std::vector<std::string> args = {"run", "--data-dir", (dir_ / "lab" / "data").string(), "--device",
                                         "ГХ-2 зав. № 114"};
        const std::vector<std::string> degassing = testing::ExampleDegassingOptions();
        args.insert(args.end(), degassing.begin(), degassing.end());
        args.insert(args.end(), {"--save-session", (dir_ / "lab" / "example.tlvx").string()});
        args.insert(args.end(), settings.begin(), settings.end());
        for (const std::string& o : Outputs("saved"))
            args.push_back(o);
        for (const auto& e : fs::directory_iterator(dir_ / "lab" / "runs"))
            args.push_back(e.path().string());
        return RunProgram("talvex-cli", args);
    }

    testing::CommandResult Replay(const fs::path& session, const std::string& out,
                                  std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"run", "--session", session.string()};
        for (const std::string& o : Outputs(out))
            args.push_back(o);
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram("talvex-cli", args);
    }

    testing::TempFolder dir_;
};

TEST_F(SessionCliTest, ReplayingASavedSessionWritesEveryOutputToTheByte) {
    const auto saved = SaveExample();
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const auto replayed = Replay(dir_ / "lab" / "example.tlvx", "replayed");
    ASSERT_EQ(replayed.exitCode, 0) << replayed.err;
    EXPECT_EQ(replayed.err, "");
    const auto expected = TreeContent(dir_ / "saved");
    EXPECT_EQ(expected.size(), 43u); // 41 tables, the report and the results
    EXPECT_EQ(TreeContent(dir_ / "replayed"), expected);
    // The profile was not changed by either run.
    EXPECT_FALSE(fs::exists(dir_ / "config" / "Vintaro" / "tlvx.conf") &&
                 testing::ReadBytes(dir_ / "config" / "Vintaro" / "tlvx.conf").find("QtyNumAfterDot") !=
                     std::string::npos);

    // The lab folder moved elsewhere, with its runs and its data folder, still opens and computes the same.
    fs::rename(dir_ / "lab", dir_ / "moved");
    const auto moved = Replay(dir_ / "moved" / "example.tlvx", "moved-out");
    ASSERT_EQ(moved.exitCode, 0) << moved.err;
    EXPECT_EQ(moved.err, "");
    EXPECT_EQ(TreeContent(dir_ / "moved-out" / "tables"), TreeContent(dir_ / "saved" / "tables"));
}

TEST_F(SessionCliTest, OptionsOverrideTheSessionAndChangedInputsAreNamed) {
    ASSERT_EQ(SaveExample().exitCode, 0);
    const auto overridden =
        Replay(dir_ / "lab" / "example.tlvx", "five", {"--decimals", "5", "--cond-mass1", "90"});
    ASSERT_EQ(overridden.exitCode, 0) << overridden.err;
    const std::string degassing = testing::ReadBytes(dir_ / "five" / "tables" / "degassing.tsv");
    EXPECT_NE(degassing.find("\t90\n"), std::string::npos) << degassing;
    EXPECT_NE(degassing.find("91.70000"), std::string::npos) << degassing; // 90 + 1.7 with five decimals

    std::ofstream(dir_ / "lab" / "runs" / "gd-1-fid.stg", std::ios::app) << 'x';
    std::ofstream(dir_ / "lab" / "data" / "TableSection8.csv", std::ios::app) << "\r\n";
    for (const bool strict : {false, true}) {
        std::vector<std::string> extra;
        if (strict)
            extra.push_back("--strict");
        const auto r = Replay(dir_ / "lab" / "example.tlvx", strict ? "strict" : "lenient", extra);
        EXPECT_EQ(r.exitCode, strict ? 1 : 0) << r.err;
        EXPECT_NE(r.err.find("gd-1-fid.stg"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("TableSection8.csv"), std::string::npos) << r.err;
        // The outputs are written all the same, from the files that are unchanged.
        EXPECT_TRUE(fs::exists(dir_ / (strict ? "strict" : "lenient") / "results.json"));
    }
}

// The demo replays the shipped session: its digests must be those of the shipped runs and data folder.
TEST_F(SessionCliTest, TheShippedExampleSessionOpensWithEveryFileUnchanged) {
    const auto r = Replay(fs::path(TALVEX_SOURCE_DIR) / "examples" / "example.tlvx", "shipped", {"--strict"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(SaveExample({}).exitCode, 0);
    EXPECT_EQ(TreeContent(dir_ / "shipped" / "tables"), TreeContent(dir_ / "saved" / "tables"));
}

TEST_F(SessionCliTest, ADamagedSessionFileOpensNothing) {
    for (const std::string& bytes :
         {std::string("not json"), std::string("{\"format\": \"other\"}"),
          std::string("{\"format\": \"talvex-session\", \"formatVersion\": 99}")}) {
        const auto path = dir_.Write("bad.tlvx", bytes);
        const auto r = Replay(path, "bad");
        EXPECT_EQ(r.exitCode, 1) << bytes;
        EXPECT_NE(r.err.find("bad.tlvx"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir_ / "bad")) << bytes;
    }
}

} // namespace
} // namespace talvex
