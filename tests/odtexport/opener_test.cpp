#include "odt_fixture.h"

#include "brisquel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace brisquel_test {
namespace {

using talvex::testing::ReadBytes;

void RecordPath(const char* path, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(path);
}

class OpenAfter : public ::testing::Test {
protected:
    void SetUp() override { BrisquelSetOpener(RecordPath, &opened_); }
    void TearDown() override { BrisquelSetOpener(nullptr, nullptr); }

    int ExportWith(int openAfter, std::string_view content) {
        return RunExport(ParseData("<root/>"), WriteTemplate(folder_, content), output_, openAfter);
    }

    TempFolder folder_;
    std::filesystem::path output_ = folder_ / "отчет.odt";
    std::vector<std::string> opened_;
};

TEST_F(OpenAfter, OpensTheWrittenFileWhenTheLowByteIsSet) {
    for (const int flag : {1, 0x7F01, -1}) {
        opened_.clear();
        ASSERT_EQ(ExportWith(flag, ContentXml("")), BRISQUEL_OK);
        EXPECT_EQ(opened_, std::vector<std::string>{output_.string()}) << flag;
    }
}

TEST_F(OpenAfter, DoesNotOpenWhenTheLowByteIsZero) {
    for (const int flag : {0, 0x100, 0x7F00}) {
        ASSERT_EQ(ExportWith(flag, ContentXml("")), BRISQUEL_OK);
        EXPECT_TRUE(opened_.empty()) << flag;
    }
}

TEST_F(OpenAfter, DoesNotOpenAFailedReport) {
    EXPECT_EQ(ExportWith(1, "<not closed"), BRISQUEL_BAD_CONTENT);
    EXPECT_TRUE(opened_.empty());
}

// The default opener runs `xdg-open PATH`; a stand-in on PATH records what it was given.
TEST(DefaultOpener, RunsXdgOpenWithThePath) {
    const TempFolder folder;
    const auto record = folder / "opened.txt";
    const auto script =
        folder.Write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + record.string() +
                                     ".new\"\n"
                                     "mv \"" +
                                     record.string() + ".new\" \"" + record.string() + "\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (folder.path().string() + ":" + oldPath).c_str(), 1);

    const auto output = folder / "report with blanks; $(no shell).odt";
    const int result = RunExport(ParseData("<root/>"), WriteTemplate(folder, ContentXml("")), output, 1);
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_EQ(result, BRISQUEL_OK);

    for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadBytes(record), output.string());
}

TEST(DefaultOpener, MissingXdgOpenIsNoFailure) {
    const TempFolder folder;
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", folder.path().c_str(), 1);
    const int result =
        RunExport(ParseData("<root/>"), WriteTemplate(folder, ContentXml("")), folder / "report.odt", 1);
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(result, BRISQUEL_OK);
}

} // namespace
} // namespace brisquel_test
