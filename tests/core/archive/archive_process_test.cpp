// Several processes at one archive, a process killed while it archives, and archives that cannot be
// written: real processes (fork), each with its own connection, against both back ends.
#include "archive_backends.h"
#include "core/archive/archive.h"
#include "core/archive/spool.h"
#include "test_records.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace talvex {
namespace {

using namespace archive;
using testing::Backend;
using testing::MakeRecord;
using testing::RecordPlan;
using testing::TestArchive;

// Runs `body` in `count` child processes at once; each child's exit status is what body returns.
// The parent waits for all and returns their statuses (-signal for a child killed by a signal).
std::vector<int> RunChildren(int count, const std::function<int(int)>& body) {
    std::vector<pid_t> pids;
    for (int i = 0; i < count; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            int status = 3;
            try {
                status = body(i);
            } catch (...) {
                status = 4;
            }
            _exit(status);
        }
        pids.push_back(pid);
    }
    std::vector<int> statuses;
    for (const pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
    }
    return statuses;
}

class ArchiveProcessTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TALVEX_NEED_ARCHIVE(test_); }

    std::vector<RecordSummary> List(bool all) {
        std::string error;
        auto archive = Archive::Open(test_.url(), error);
        EXPECT_TRUE(archive) << error;
        if (!archive)
            return {};
        ListQuery q;
        q.all = all;
        return archive->List(q, error).value_or(std::vector<RecordSummary>{});
    }

    TestArchive test_{GetParam()};
};

TEST_P(ArchiveProcessTest, FourProcessesArchivingAtOnceLoseAndDoubleNothing) {
    // The four start on an empty archive: they also migrate it at once.
    const std::vector<int> statuses = RunChildren(4, [&](int child) {
        std::string error;
        auto archive = Archive::Open(test_.url(), error);
        if (!archive)
            return 1;
        for (int i = 0; i < 25; ++i)
            if (archive->Write(MakeRecord(child * 100 + i)).status != WriteStatus::Added)
                return 2;
        return 0;
    });
    EXPECT_EQ(statuses, std::vector<int>(4, 0));
    const auto records = List(true);
    EXPECT_EQ(records.size(), 100u);
    std::set<std::string> fingerprints;
    for (const RecordSummary& r : records)
        fingerprints.insert(r.fingerprint);
    EXPECT_EQ(fingerprints.size(), 100u);
}

TEST_P(ArchiveProcessTest, TwoProcessesAmendingOneSampleMakeOneChain) {
    const std::vector<int> statuses = RunChildren(2, [&](int child) {
        std::string error;
        auto archive = Archive::Open(test_.url(), error);
        if (!archive)
            return 1;
        for (int i = 0; i < 10; ++i) {
            const ArchiveRecord r = MakeRecord(
                RecordPlan{.n = child * 100 + i, .chromatogram = "the sample", .reason = "поправка"});
            if (archive->Write(r).status != WriteStatus::Added)
                return 2;
        }
        return 0;
    });
    EXPECT_EQ(statuses, std::vector<int>(2, 0));
    const auto records = List(true);
    ASSERT_EQ(records.size(), 20u);
    std::map<std::string, std::string> amendedBy; // superseded id -> the record that supersedes it
    int current = 0, roots = 0;
    std::string head;
    for (const RecordSummary& r : records) {
        if (r.current) {
            ++current;
            head = r.id;
        }
        if (r.supersedes.empty())
            ++roots;
        else
            EXPECT_TRUE(amendedBy.emplace(r.supersedes, r.id).second) << r.supersedes << " amended twice";
    }
    EXPECT_EQ(current, 1);
    EXPECT_EQ(roots, 1);
    // From the current record back to the first, every record once.
    std::map<std::string, std::string> supersedes;
    for (const RecordSummary& r : records)
        supersedes[r.id] = r.supersedes;
    int length = 0;
    for (std::string id = head; !id.empty() && length <= 20; id = supersedes[id])
        ++length;
    EXPECT_EQ(length, 20);
}

TEST_P(ArchiveProcessTest, AProcessKilledWhileArchivingLeavesTheRecordAbsentAndSpooled) {
    const testing::TempFolder spool;
    const ArchiveRecord record = MakeRecord(7);
    const std::vector<int> statuses = RunChildren(1, [&](int) {
        StoreRecord(test_.url(), spool.path(), record,
                    [](Archive& a) { a.SetBeforeCommit([] { std::raise(SIGKILL); }); });
        return 0;
    });
    EXPECT_EQ(statuses, std::vector<int>{-SIGKILL});
    EXPECT_TRUE(List(true).empty());
    EXPECT_EQ(spool.Entries(), std::vector<std::string>{record.id + ".json"});

    std::string error;
    auto archive = Archive::Open(test_.url(), error);
    ASSERT_TRUE(archive) << error;
    EXPECT_EQ(FlushSpool(spool.path(), *archive).sent, 1);
    EXPECT_TRUE(spool.Entries().empty());
    const auto stored = archive->Show(record.id, error);
    ASSERT_TRUE(stored) << error;
    EXPECT_EQ(stored->record.controls.size(), record.controls.size());
    EXPECT_EQ(stored->record.resultsJson, record.resultsJson);
    // Sent twice adds nothing.
    ASSERT_TRUE(SpoolRecord(spool.path(), record, error));
    const FlushReport again = FlushSpool(spool.path(), *archive);
    EXPECT_EQ(again.sent, 0);
    EXPECT_EQ(again.alreadyPresent, 1);
    EXPECT_EQ(List(true).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveProcessTest,
                         ::testing::Values(Backend::Sqlite, Backend::Postgresql), testing::BackendName);

// Archives that cannot take the record: the record waits in the spool and the message says so.
struct Unwritable {
    const char* name;
    // Makes the archive unwritable in `folder`; returns its URL.
    std::function<std::string(const std::filesystem::path& folder)> make;
    std::function<void(Archive&)> prepare;
};

class UnwritableArchiveTest : public ::testing::TestWithParam<Unwritable> {};

TEST_P(UnwritableArchiveTest, RecordIsSpooledAndTheOperatorTold) {
    const testing::TempFolder folder, spool;
    const std::string url = GetParam().make(folder.path());
    const std::filesystem::path file =
        url.starts_with("postgresql:") ? std::filesystem::path() : std::filesystem::path(url);
    const std::string before = file.empty() ? "" : testing::ReadBytes(file);
    ArchiveRecord record = MakeRecord(1);
    // Larger than the free room of the pages the schema has.
    record.resultsJson = "{\"log\":\"" + std::string(100000, 'x') + "\"}\n";
    const StoreOutcome outcome = StoreRecord(url, spool.path(), record, GetParam().prepare);
    EXPECT_EQ(outcome.status, WriteStatus::Failed);
    EXPECT_THAT(outcome.message, ::testing::StartsWith("Результат не записан в архив: "));
    EXPECT_THAT(outcome.message,
                ::testing::EndsWith(". Запись сохранена и будет отправлена при следующем подключении."));
    EXPECT_EQ(spool.Entries(), std::vector<std::string>{record.id + ".json"});
    if (!file.empty() && std::string(GetParam().name) == "DamagedSqliteFile") {
        EXPECT_EQ(testing::ReadBytes(file), before); // never "repaired" by rewriting it
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableArchiveTest,
    ::testing::Values(
        Unwritable{"DamagedSqliteFile",
                   [](const std::filesystem::path& folder) {
                       const std::filesystem::path file = folder / "archive.sqlite";
                       std::string junk(8192, '\x5a');
                       junk.replace(0, 16, "not a database!!");
                       std::ofstream(file, std::ios::binary) << junk;
                       return file.string();
                   },
                   {}},
        // Nothing listens on the socket folder: a stopped server.
        Unwritable{"StoppedServer",
                   [](const std::filesystem::path& folder) {
                       return "postgresql://talvex@/archive?host=" + folder.string() + "&connect_timeout=2";
                   },
                   {}},
        // SQLite's own full-disk error: the file may not grow by a page.
        Unwritable{"FullDisk",
                   [](const std::filesystem::path& folder) { return (folder / "archive.sqlite").string(); },
                   [](Archive& a) {
                       const auto pages = AsInt(a.Connection().Query("PRAGMA page_count").at(0).at(0));
                       a.Connection().Query("PRAGMA max_page_count = " + std::to_string(pages));
                   }}),
    [](const ::testing::TestParamInfo<Unwritable>& info) { return std::string(info.param.name); });

} // namespace
} // namespace talvex
