// Saves of the operator's files under hostile conditions: killed at a random moment, and out of disk
// space. Either way the file holds one whole version, old or new, and nothing but the save's own
// temporary file (at most one) is left beside it.
#include "save_kinds.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <thread>

namespace talvex::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kKillsPerKind = 200;

// A kill stops the process, not the machine: what the file holds afterwards is in the page cache either
// way, so the kills run in memory (/dev/shm) where the saves' flushes cost nothing and 200 kills take
// a second or two rather than minutes.
fs::path KillFolderBase() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm")
                                                                               : fs::path();
}

// Entries of the folder other than the ones it held before the save.
std::vector<std::string> Strays(const fs::path& folder, const std::set<std::string>& known) {
    std::vector<std::string> strays;
    for (const auto& e : fs::directory_iterator(folder))
        if (!known.count(e.path().filename().string()))
            strays.push_back(e.path().filename().string());
    return strays;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// A child that saves the two versions in turn, without end, until it is killed. It writes one byte
// to `ready` once it is about to start saving.
pid_t StartSavingChild(const SaveKind& kind, const fs::path& folder, int firstVersion) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        try {
            const Saver save = kind.makeSaver(folder);
            if (::write(ready[1], "r", 1) != 1)
                ::_exit(3);
            std::string error;
            for (int i = firstVersion;; ++i)
                if (!save(i % 2, error))
                    ::_exit(2);
        } catch (...) {
            ::_exit(4);
        }
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = pid > 0 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (!started && pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

TEST(DurableSaves, EveryKindSurvivesBeingKilledAtRandomMoments) {
    std::mt19937 random(20261211);
    for (const SaveKind& kind : SaveKinds()) {
        SCOPED_TRACE(kind.name);
        // The two versions, and how long one save takes, from saves that run to their end.
        std::string versions[2];
        Clock::duration saveTime{};
        {
            TempFolder reference(KillFolderBase());
            kind.prepare(reference.path());
            const Saver save = kind.makeSaver(reference.path());
            std::string error;
            const auto start = Clock::now();
            for (int v : {1, 0}) {
                ASSERT_TRUE(save(v, error)) << error;
                versions[v] = kind.identity(reference / kind.fileName);
            }
            saveTime = (Clock::now() - start) / 2;
        }
        ASSERT_FALSE(versions[0].empty());
        ASSERT_NE(versions[0], versions[1]);

        TempFolder folder(KillFolderBase());
        kind.prepare(folder.path());
        {
            std::string error;
            ASSERT_TRUE(kind.makeSaver(folder.path())(0, error)) << error;
        }
        const std::set<std::string> known = Names(folder.path());
        // Moments spread over the first two saves, so that every step of a save gets hit.
        const auto span = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 2).count() + 100;
        std::uniform_int_distribution<long long> moment(0, span);
        int seen[2] = {0, 0};
        for (int kill = 0; kill < kKillsPerKind; ++kill) {
            const pid_t child = StartSavingChild(kind, folder.path(), 1 - kill % 2);
            ASSERT_GT(child, 0);
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            ::kill(child, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself, status " << status;

            const std::string now = kind.identity(folder / kind.fileName);
            ASSERT_TRUE(now == versions[0] || now == versions[1])
                << "after kill " << kill << " the file is no whole version";
            ++seen[now == versions[1] ? 1 : 0];
            const std::vector<std::string> strays = Strays(folder.path(), known);
            ASSERT_LE(strays.size(), 1u) << "after kill " << kill << ": " << ::testing::PrintToString(strays);
            for (const std::string& stray : strays)
                fs::remove_all(folder / stray);
        }
        // The kills fell on both sides of a rename, or the test proved nothing.
        EXPECT_GT(seen[0], 0);
        EXPECT_GT(seen[1], 0);
    }
}

// A small file system of its own (tmpfs), which needs the superuser; removed with the test.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small file system needs root";
        if (::mount("tmpfs", disk_.path().c_str(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here";
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_)
            ::umount2(disk_.path().c_str(), MNT_DETACH);
    }

    // Fills what is left of the file system.
    void Fill() {
        std::ofstream filler(disk_ / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            filler.flush();
    }

    TempFolder disk_;
    bool mounted_ = false;
};

TEST_F(FullDisk, SavesFailWithAReasonAndLeaveTheOldFile) {
    for (const SaveKind& kind : SaveKinds()) {
        SCOPED_TRACE(kind.name);
        for (const auto& e : fs::directory_iterator(disk_.path()))
            fs::remove_all(e.path());
        kind.prepare(disk_.path());
        const Saver save = kind.makeSaver(disk_.path());
        std::string error;
        ASSERT_TRUE(save(0, error)) << error;
        const std::string old = ReadBytes(disk_ / kind.fileName);
        Fill();
        const std::set<std::string> known = Names(disk_.path());

        EXPECT_FALSE(save(1, error));
        if (kind.name == "report.odt")
            EXPECT_EQ(error, "the template could not be copied to the output path");
        else
            EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
        EXPECT_EQ(ReadBytes(disk_ / kind.fileName), old);
        EXPECT_TRUE(Strays(disk_.path(), known).empty())
            << ::testing::PrintToString(Strays(disk_.path(), known));
    }
}

} // namespace
} // namespace talvex::testing
