// Files that `run` leaves out and files that `info` cannot read: each is named with its reason.
#include "run_cli.h"

#include "andi_builder.h"
#include "methane_run.h"
#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

constexpr std::int64_t kT = 1700000000;

class CliSkippedFilesTest : public testing::CliFixture {
protected:
    std::string Chromatogram(const std::string& name, const std::string& method, const std::string& sample,
                             std::int64_t time = kT) {
        const std::string path = (dir_ / name).string();
        std::string error;
        EXPECT_TRUE(synth::WriteStg(path, testing::MethaneRun(method, sample, time), &error)) << error;
        return path;
    }

    // Lines of stderr that report a skipped file.
    static std::vector<std::string> SkipLines(const std::string& err) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = err.find('\n', start)) != std::string::npos; start = end + 1)
            if (const std::string line = err.substr(start, end - start);
                line.find(": skipped: ") != std::string::npos)
                lines.push_back(line);
        return lines;
    }
};

TEST_F(CliSkippedFilesTest, RunNamesEverySkippedFileWithItsReasonAndStillSucceeds) {
    const auto fid = Chromatogram("fid.stg", "ПИД ГД", "Проба 1");
    const auto blank = Chromatogram("blank.stg", "ПИД ГД", "Холостая", kT - 100);
    const auto blank2 = Chromatogram("blank2.stg", "ПИД ГД", "холостая", kT - 50);
    const auto noRole = Chromatogram("mix.stg", "ПИД ГД", "Смесь");
    const auto missing = (dir_ / "missing.stg").string();
    const auto json = dir_ / "results.json";
    const std::vector<std::string> files{fid, missing, blank, fid, noRole, blank2};
    std::vector<std::string> args{"run", "--data-dir", (dir_ / "data").string(), "--json", json.string()};
    args.insert(args.end(), files.begin(), files.end());

    const auto r = RunProgram("talvex-cli", args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(
        SkipLines(r.err),
        (std::vector<std::string>{
            "talvex-cli: " + missing + ": skipped: cannot be read: no such file",
            "talvex-cli: " + fid + ": skipped: already in the list",
            "talvex-cli: " + noRole +
                ": skipped: a kind the calculations do not use: role (sample, blank, calibration, control) "
                "not recognised from the passport (method \"ПИД ГД\", sample \"Смесь\")",
            "talvex-cli: " + blank2 +
                ": skipped: a second control or blank run of a kind already in the list: ПИД, Газ, холостая",
        }))
        << r.err;
    EXPECT_TRUE(fs::exists(json));

    // --strict: the same outputs, but the exit status tells that files were left out.
    fs::remove(json);
    args.insert(args.begin() + 1, "--strict");
    const auto strict = RunProgram("talvex-cli", args);
    EXPECT_EQ(strict.exitCode, 1) << strict.err;
    EXPECT_EQ(SkipLines(strict.err), SkipLines(r.err));
    EXPECT_TRUE(fs::exists(json)); // written before the status says so

    // Nothing left out: --strict changes nothing.
    const auto clean =
        RunProgram("talvex-cli", {"run", "--strict", "--data-dir", (dir_ / "data").string(), fid, blank});
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_TRUE(SkipLines(clean.err).empty()) << clean.err;

    const auto usage = RunProgram("talvex-cli", {"run", "--strict=1", fid});
    EXPECT_EQ(usage.exitCode, 2);
}

TEST_F(CliSkippedFilesTest, InfoPrintsTheReadersOwnReason) {
    const auto held = Chromatogram("held.stg", "ПИД ГД", "Проба 1");
    synth::StgContent damaged = testing::MethaneRun("ПИД ГД", "Проба 1", kT);
    damaged.passportVersion = 4;
    std::string error;
    const std::string badPassport = (dir_ / "bad.stg").string();
    ASSERT_TRUE(synth::WriteStg(badPassport, damaged, &error)) << error;
    const std::string text = dir_.Write("notes.stg", "plain text").string();
    const std::string cdf =
        testing::AndiBuilder::Standard().Remove("ordinate_values").WriteTo(dir_ / "a.cdf").string();

    const int writer = ::open(held.c_str(), O_RDONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {(dir_ / "missing.stg").string(), "no such file"},
        {text, "not a chromatogram file: not a compound file"},
        {badPassport, "damaged: stream Passport: unsupported passport version"},
        {held, "held by another program"},
        {cdf, "damaged: no signal: the variable ordinate_values is missing"},
    };
    for (const auto& c : cases) {
        const auto r = RunProgram("talvex-cli", {"info", c.path});
        EXPECT_EQ(r.exitCode, 1) << c.path;
        EXPECT_EQ(r.err, "talvex-cli: " + c.path + ": " + c.reason + "\n");
    }
    ::close(writer);
    EXPECT_EQ(RunProgram("talvex-cli", {"info", held}).exitCode, 0);
}

} // namespace
} // namespace talvex
