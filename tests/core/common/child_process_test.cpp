#include "core/common/child_process.h"

#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

namespace talvex {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

TEST(RunChild, ReportsTheExitStatusAndTheOutputOfBothStreams) {
    const ChildOutcome ok = RunChild({"sh", "-c", "echo out; echo err >&2; exit 0"}, 10s);
    EXPECT_TRUE(ok.started);
    EXPECT_FALSE(ok.timedOut);
    EXPECT_EQ(ok.exitStatus, 0);
    EXPECT_THAT(ok.output, HasSubstr("out"));
    EXPECT_THAT(ok.output, HasSubstr("err"));

    EXPECT_EQ(RunChild({"sh", "-c", "exit 3"}, 10s).exitStatus, 3);
    EXPECT_FALSE(RunChild({"talvex-no-such-program"}, 10s).started);
}

TEST(RunChild, KillsTheProgramAndWhatItStartedWhenTimeRunsOut) {
    testing::TempFolder dir;
    const auto pidFile = dir / "grandchild.pid";
    // The program starts a helper of its own that would outlive it; both must be gone after the limit.
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome slow =
        RunChild({"sh", "-c", "sleep 30 & echo $! > '" + pidFile.string() + "'; sleep 30"}, 300ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_TRUE(slow.started);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_EQ(slow.exitStatus, -1);
    int grandchild = 0;
    std::ifstream(pidFile) >> grandchild;
    ASSERT_GT(grandchild, 0);
    // Killed: it may linger as a zombie of init for a moment, so look at its state rather than existence.
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        std::ifstream stat("/proc/" + std::to_string(grandchild) + "/stat");
        std::string pid, name, state;
        gone = !(stat >> pid >> name >> state) || state == "Z";
        if (!gone)
            std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(gone);
}

TEST(RunChild, KeepsOnlyTheTailOfAnEndlessOutput) {
    const ChildOutcome chatty =
        RunChild({"sh", "-c", "head -c 1000000 /dev/zero | tr '\\0' x; echo END"}, 20s);
    EXPECT_EQ(chatty.exitStatus, 0);
    EXPECT_LE(chatty.output.size(), 64u * 1024u);
    EXPECT_THAT(chatty.output, HasSubstr("END"));
}

TEST(FindProgram, LooksOnPathAndChecksThatTheFileRuns) {
    EXPECT_TRUE(FindProgram("sh").has_value());
    EXPECT_FALSE(FindProgram("talvex-no-such-program").has_value());
    EXPECT_FALSE(FindProgram("").has_value());
    testing::TempFolder dir;
    const auto plain = dir / "not-executable";
    std::ofstream(plain) << "#!/bin/sh\n";
    EXPECT_FALSE(FindProgram(plain.string()).has_value());
}

TEST(TemporaryFolder, IsRemovedWithEverythingInIt) {
    std::filesystem::path made;
    {
        TemporaryFolder folder("talvex-test-");
        ASSERT_TRUE(folder.Valid());
        made = folder.Path();
        std::filesystem::create_directories(made / "a" / "b");
        std::ofstream(made / "a" / "b" / "file") << "x";
    }
    EXPECT_FALSE(std::filesystem::exists(made));
}

// True once the process is gone (a zombie of init counts as gone).
bool ProcessGone(int pid) {
    for (int i = 0; i < 100; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string id, name, state;
        if (!(stat >> id >> name >> state) || state == "Z")
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

TEST(PipedChild, AnswersLineByLineAndSeesTheEndOfItsInput) {
    PipedChild child;
    ASSERT_TRUE(child.Start({"sh", "-c", "while read x; do echo \"got $x\"; done; echo end"}));
    std::string line;
    for (const std::string word : {"one", "два"}) {
        ASSERT_TRUE(child.WriteLine(word));
        ASSERT_EQ(child.ReadLine(line, 10s), PipedChild::ReadResult::Line);
        EXPECT_EQ(line, "got " + word);
    }
    child.CloseInput();
    ASSERT_EQ(child.ReadLine(line, 10s), PipedChild::ReadResult::Line);
    EXPECT_EQ(line, "end");
    EXPECT_EQ(child.ReadLine(line, 10s), PipedChild::ReadResult::Closed);
    child.Stop(5s);
    EXPECT_FALSE(child.Running());
}

TEST(PipedChild, GivesUpWaitingAndStopsEverythingItStarted) {
    testing::TempFolder dir;
    const auto pidFile = dir / "grandchild.pid";
    const auto errors = dir / "errors.txt";
    PipedChild child;
    ASSERT_TRUE(child.Start(
        {"sh", "-c", "sleep 30 & echo $! > '" + pidFile.string() + "'; echo complaint >&2; sleep 30"},
        errors));
    std::string line;
    EXPECT_EQ(child.ReadLine(line, 300ms), PipedChild::ReadResult::TimedOut);
    child.Stop();
    EXPECT_FALSE(child.Running());
    int grandchild = 0;
    std::ifstream(pidFile) >> grandchild;
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(ProcessGone(grandchild));
    EXPECT_THAT(testing::ReadBytes(errors), HasSubstr("complaint"));
}

// A cancel from another thread: the call waiting for the program returns at once with its end, and
// everything the program started is gone too.
TEST(PipedChild, KillFromAnotherThreadEndsTheWaitingCall) {
    testing::TempFolder dir;
    const auto pidFile = dir / "grandchild.pid";
    PipedChild child;
    ASSERT_TRUE(
        child.Start({"sh", "-c", "sleep 60 & echo $! > '" + pidFile.string() + "'; echo started; wait"}));
    std::string line;
    ASSERT_EQ(child.ReadLine(line, 30s), PipedChild::ReadResult::Line);
    EXPECT_EQ(line, "started");
    PipedChild::ReadResult result = PipedChild::ReadResult::Line;
    std::thread waiting([&] { result = child.ReadLine(line, 600s); });
    child.Kill();
    waiting.join();
    EXPECT_EQ(result, PipedChild::ReadResult::Closed);
    child.Stop();
    EXPECT_FALSE(child.Running());
    int grandchild = 0;
    std::ifstream(pidFile) >> grandchild;
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(ProcessGone(grandchild));
    child.Kill(); // nothing left to kill: no effect
}

TEST(PipedChild, WritingToAProgramThatHasEndedFailsQuietly) {
    PipedChild child;
    ASSERT_TRUE(child.Start({"sh", "-c", "exit 0"}));
    std::string line;
    EXPECT_EQ(child.ReadLine(line, 10s), PipedChild::ReadResult::Closed);
    // Without a reader the write must fail rather than raise SIGPIPE and end the test program.
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i)
        failed = !child.WriteLine(std::string(4096, 'x'));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(PipedChild().WriteLine("nobody"));
    EXPECT_FALSE(PipedChild().Start({"talvex-no-such-program"}));
}

TEST(FileUrl, EncodesEverythingButUnreservedCharactersAndSlashes) {
    EXPECT_EQ(FileUrl("/tmp/a b/Отчет~1.odt"), "file:///tmp/a%20b/%D0%9E%D1%82%D1%87%D0%B5%D1%82~1.odt");
    EXPECT_EQ(FileUrl("/x/100%#?"), "file:///x/100%25%23%3F");
}

} // namespace
} // namespace talvex
