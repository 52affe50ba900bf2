// talvex-cli run --archive and talvex-cli archive, against both back ends.
#include "archive_backends.h"
#include "run_cli.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::Backend;
using testing::RunProgram;
using testing::TestArchive;

// The example session run in a folder of the test's own, with its own spool (XDG_DATA_HOME).
class ArchiveCliTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        TALVEX_NEED_ARCHIVE(test_);
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

    testing::CommandResult Run(const std::string& url, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"run",
                                         "--session",
                                         (fs::path(TALVEX_SOURCE_DIR) / "examples" / "example.tlvx").string(),
                                         "--json",
                                         (dir_ / "results.json").string(),
                                         "--archive",
                                         url};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram("talvex-cli", args);
    }

    json List(const std::string& url, bool all = false) {
        std::vector<std::string> args = {"archive", "list", "--archive", url, "--json"};
        if (all)
            args.push_back("--all");
        const auto r = RunProgram("talvex-cli", args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return json::parse(r.out, nullptr, false);
    }

    std::vector<std::string> Spooled() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir_ / "share" / "talvex" / "archive-spool", ec))
            names.push_back(e.path().filename().string());
        return names;
    }

    TestArchive test_{GetParam()};
    testing::TempFolder dir_;
};

TEST_P(ArchiveCliTest, ShowGivesBackTheResultsJsonThatRunWrote) {
    const auto run = Run(test_.url());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, ::testing::HasSubstr("Результат записан в архив"));
    EXPECT_TRUE(Spooled().empty());
    const json list = List(test_.url());
    ASSERT_TRUE(list.is_array());
    ASSERT_EQ(list.size(), 1u);
    const json& entry = list[0];
    for (const char* key : {"id", "time", "sample", "current", "supersedes", "reason", "fingerprint"})
        EXPECT_TRUE(entry.contains(key)) << key;
    EXPECT_TRUE(entry["supersedes"].is_null());
    EXPECT_EQ(entry["current"], true);

    const auto show = RunProgram("talvex-cli", {"archive", "show", "--archive", test_.url(),
                                                entry["id"].get<std::string>(), "--json"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    std::string written = testing::ReadBytes(dir_ / "results.json");
    while (!written.empty() && written.back() == '\n')
        written.pop_back();
    // The very bytes, not only the same values.
    EXPECT_NE(show.out.find("\"results\":" + written), std::string::npos);
    const json shown = json::parse(show.out, nullptr, false);
    ASSERT_FALSE(shown.is_discarded());
    EXPECT_EQ(shown["results"], json::parse(written));
    EXPECT_EQ(shown["id"], entry["id"]);
    EXPECT_FALSE(shown["controls"].empty());

    // The same calculation again adds nothing.
    const auto again = Run(test_.url());
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_THAT(again.err,
                ::testing::HasSubstr("Результат уже в архиве: запись " + entry["id"].get<std::string>()));
    EXPECT_EQ(List(test_.url(), true).size(), 1u);
}

TEST_P(ArchiveCliTest, AnAmendmentNeedsAReason) {
    ASSERT_EQ(Run(test_.url()).exitCode, 0);
    const auto refused = Run(test_.url(), {"--decimals", "2"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    EXPECT_THAT(refused.err, ::testing::HasSubstr("--reason"));
    EXPECT_TRUE(Spooled().empty());
    EXPECT_EQ(List(test_.url(), true).size(), 1u);

    const auto amended = Run(test_.url(), {"--decimals", "2", "--reason", "не та точность"});
    ASSERT_EQ(amended.exitCode, 0) << amended.err;
    const json current = List(test_.url());
    ASSERT_EQ(current.size(), 1u);
    EXPECT_EQ(current[0]["reason"], "не та точность");
    const json all = List(test_.url(), true);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(current[0]["supersedes"], all[0]["id"]);
    EXPECT_EQ(all[0]["current"], false);
}

// The chart reads what run --archive stored and what import-controls brought from the laboratory's past;
// a file with one bad line imports nothing.
TEST_P(ArchiveCliTest, ChartsShowArchivedAndImportedControlsAndABadImportAddsNothing) {
    ASSERT_EQ(Run(test_.url()).exitCode, 0);
    const std::string id = List(test_.url()).at(0).at("id").get<std::string>();
    const auto chart = [&] {
        const auto r =
            RunProgram("talvex-cli", {"chart", "--archive", test_.url(), "--kind", "okp", "--medium", "gas",
                                      "--list", "component", "--component", "Водород", "--json"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return json::parse(r.out, nullptr, false);
    };
    json points = chart()["points"];
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0]["record"], id);
    EXPECT_EQ(points[0]["imported"], false);
    // Kk / K of the example's control with a sample, as the results JSON gives them.
    EXPECT_DOUBLE_EQ(points[0]["q"].get<double>(), 0.00019906555914404704 / 0.0025251315106190352);

    const std::string header = "дата;вид;среда;состав;компонент;результат;опорное;норматив\n";
    const fs::path bad = dir_ / "bad.csv";
    std::ofstream(bad) << header << "10.01.2024 09:00;ОКП;газ;компонентный;Водород;0,0101;0,0100;12\n"
                       << "11.01.2024;ОКП;газ;компонентный;Водород;много;0,0100;12\n";
    const auto refused =
        RunProgram("talvex-cli", {"archive", "import-controls", "--archive", test_.url(), bad.string()});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_THAT(refused.err, ::testing::HasSubstr("строка 3"));
    EXPECT_EQ(chart()["points"].size(), 1u);

    const fs::path good = dir_ / "good.csv";
    std::ofstream(good) << header << "10.01.2024 09:00;ОКП;газ;компонентный;Водород;0,0101;0,0100;12\n"
                        << "2024-01-11T09:00:00Z;ОКП;газ;компонентный;Водород;0.0102;0.0100;12\n";
    const auto imported =
        RunProgram("talvex-cli", {"archive", "import-controls", "--archive", test_.url(), good.string()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    points = chart()["points"];
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0]["imported"], true);
    EXPECT_EQ(points[1]["imported"], true);
    EXPECT_EQ(points[2]["record"], id);
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveCliTest, ::testing::Values(Backend::Sqlite, Backend::Postgresql),
                         testing::BackendName);

class ArchiveCliSqliteTest : public testing::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        ::setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }
};

TEST_F(ArchiveCliSqliteTest, AnUnwritableArchiveCostsTheReportNothingAndTheRecordWaitsInTheSpool) {
    const fs::path damaged = dir_.Write("damaged.sqlite", std::string(8192, 'z'));
    const auto run =
        RunProgram("talvex-cli",
                   {"run", "--session", (fs::path(TALVEX_SOURCE_DIR) / "examples" / "example.tlvx").string(),
                    "--json", (dir_ / "results.json").string(), "--archive", damaged.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir_ / "results.json"));
    EXPECT_THAT(run.err, ::testing::HasSubstr("Результат не записан в архив: "));
    EXPECT_THAT(run.err,
                ::testing::HasSubstr(". Запись сохранена и будет отправлена при следующем подключении."));
    EXPECT_EQ(testing::ReadBytes(damaged), std::string(8192, 'z'));
    const fs::path spool = dir_ / "share" / "talvex" / "archive-spool";
    ASSERT_EQ(std::distance(fs::directory_iterator(spool), fs::directory_iterator()), 1);

    const std::string good = (dir_ / "good.sqlite").string();
    const auto flush = RunProgram("talvex-cli", {"archive", "flush", "--archive", good});
    EXPECT_EQ(flush.exitCode, 0) << flush.err;
    EXPECT_THAT(flush.out, ::testing::StartsWith("sent: 1,"));
    EXPECT_EQ(std::distance(fs::directory_iterator(spool), fs::directory_iterator()), 0);
    const auto again = RunProgram("talvex-cli", {"archive", "flush", "--archive", good});
    EXPECT_THAT(again.out, ::testing::StartsWith("sent: 0,"));
    const auto list = RunProgram("talvex-cli", {"archive", "list", "--archive", good, "--json"});
    EXPECT_EQ(json::parse(list.out).size(), 1u);
}

TEST_F(ArchiveCliSqliteTest, WrongUsageIsExitTwo) {
    const std::string url = (dir_ / "a.sqlite").string();
    const std::vector<std::vector<std::string>> cases = {
        {"run", "--reason", "x", "file.stg"},
        {"archive"},
        {"archive", "forget", "--archive", url},
        {"archive", "list", "--archive", url, "--from", "вчера"},
        {"archive", "show", "--archive", url},
        {"archive", "phase", "--archive", url, "--kind", "okp", "--medium", "gas", "--from", "2024-01-01"},
        {"archive", "phase", "--archive", url, "--kind", "okq", "--medium", "gas", "--from", "2024-01-01",
         "--reason", "r"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto r = RunProgram("talvex-cli", args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_THAT(r.err, ::testing::StartsWith("talvex-cli: "));
    }
    EXPECT_EQ(RunProgram("talvex-cli",
                         {"archive", "phase", "--archive", url, "--kind", "oke", "--medium", "condensate",
                          "--component", "C6", "--from", "15.03.2024", "--reason", "новый стандарт"})
                  .exitCode,
              0);
}

} // namespace
} // namespace talvex
