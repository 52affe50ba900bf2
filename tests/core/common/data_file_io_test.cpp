#include "core/common/data_file_io.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace talvex {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

// Lowers the largest file this process may write, as a full disk would stop it; restores it afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(RewriteFileAfter, KeepsThePrefixReplacesTheRestAndKeepsThePermissions) {
    TempFolder dir;
    const auto file = dir.Write("data.csv", "HEADER\r\nold old old\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(RewriteFileAfter(file, 8, "new\r\n", &error)) << error;
    EXPECT_EQ(ReadBytes(file), "HEADER\r\nnew\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"data.csv"});
}

TEST(RewriteFileAfter, ReplacesTheFileALinkPointsToAndKeepsTheLink) {
    TempFolder dir;
    const auto file = dir.Write("real.csv", "H\r\nold\r\n");
    std::filesystem::create_symlink(file, dir / "link.csv");
    ASSERT_TRUE(RewriteFileAfter(dir / "link.csv", 3, "new\r\n", nullptr));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.csv"));
    EXPECT_EQ(ReadBytes(file), "H\r\nnew\r\n");
}

TEST(RewriteFileAfter, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder dir;
    const std::string original = "H\r\nsmall\r\n";
    const auto file = dir.Write("data.csv", original);
    std::string error;
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(RewriteFileAfter(file, 3, std::string(4096, 'x'), &error));
    }
    EXPECT_NE(error.find("Не удалось записать файл"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"data.csv"});
}

TEST(RewriteFileAfter, AReadOnlyFolderLeavesTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into a read-only folder";
    TempFolder dir;
    const std::string original = "H\r\nkeep\r\n";
    const auto file = dir.Write("data.csv", original);
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(RewriteFileAfter(file, 3, "new\r\n", &error));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"data.csv"});
}

TEST(RewriteFileAfter, RefusesWhatIsNotAnExistingLongEnoughFile) {
    TempFolder dir;
    std::string error;
    EXPECT_FALSE(RewriteFileAfter(dir / "absent.csv", 0, "x", &error));
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.csv"));
    std::filesystem::create_directory(dir / "folder.csv");
    EXPECT_FALSE(RewriteFileAfter(dir / "folder.csv", 0, "x", &error));
    const auto file = dir.Write("short.csv", "ab");
    EXPECT_FALSE(RewriteFileAfter(file, 3, "x", &error));
    EXPECT_EQ(ReadBytes(file), "ab");

    const auto readOnly = dir.Write("read-only.csv", "H\r\nkeep\r\n");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(RewriteFileAfter(readOnly, 3, "new\r\n", &error));
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(readOnly), "H\r\nkeep\r\n");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder.csv", "read-only.csv", "short.csv"}));
}

TEST(ReadFileFrom, ReadsTheTailAndReportsAMissingFile) {
    TempFolder dir;
    const auto file = dir.Write("d.csv", "0123456789");
    std::string bytes;
    ASSERT_TRUE(ReadFileFrom(file, 4, bytes, nullptr));
    EXPECT_EQ(bytes, "456789");
    std::string error;
    EXPECT_FALSE(ReadFileFrom(dir / "none.csv", 0, bytes, &error));
    EXPECT_EQ(error, "Файл " + (dir / "none.csv").string() + " не найден.");
}

} // namespace
} // namespace talvex

namespace talvex {
namespace {

TEST(WriteFileAtomically, CreatesOrReplacesWholeAndFailsCleanly) {
    testing::TempFolder dir;
    const auto file = dir / "report.xml";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, "first", &error)) << error;
    EXPECT_EQ(testing::ReadBytes(file), "first");
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomically(file, "second, longer", &error)) << error;
    EXPECT_EQ(testing::ReadBytes(file), "second, longer");
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_FALSE(WriteFileAtomically(dir.path(), "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "r.xml", "x", &error));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"report.xml"})); // no temporary file left
}

} // namespace
} // namespace talvex
