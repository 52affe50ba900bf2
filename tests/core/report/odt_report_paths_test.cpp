#include "core/report/odt_report_paths.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace talvex {
namespace {

using testing::TempFolder;

// The tests run with TZ=UTC, so local time is UTC here.
TEST(DefaultReportFileName, DayMonthYearThenTime) {
    struct Case {
        std::int64_t seconds;
        const char* expected;
    };
    for (const Case& c : {Case{1702132205, "ReportTlv_9122023_143005"}, // 9 Dec 2023, 14:30:05
                          Case{1709626029, "ReportTlv_5032024_080709"}, // 5 Mar 2024, 08:07:09
                          Case{1704067199, "ReportTlv_31122023_235959"}, Case{0, "ReportTlv_1011970_000000"}})
        EXPECT_EQ(DefaultReportFileName(c.seconds), c.expected) << c.seconds;
}

TEST(OdtTemplatePath, LiesInTheProgramFolder) {
    EXPECT_EQ(OdtTemplatePath("/opt/talvex/bin"), std::filesystem::path("/opt/talvex/bin/Template_tlvx.odt"));
}

TEST(NewPreviewPath, TwoPreviewsGetTwoFreshNamesAndClaimThem) {
    const TempFolder folder;
    const auto first = NewPreviewPath(folder.path());
    const auto second = NewPreviewPath(folder.path());
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    for (const auto& path : {*first, *second}) {
        EXPECT_EQ(path.parent_path(), folder.path());
        const std::string name = path.filename().string();
        EXPECT_EQ(name.rfind("vin", 0), 0u) << name;
        EXPECT_TRUE(name.ends_with(".tmp.odt")) << name;
        EXPECT_TRUE(std::filesystem::exists(path.parent_path() / path.stem()))
            << "the .tmp file claims the name";
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(NewPreviewPath, FolderThatTakesNoFileGivesNone) {
    const TempFolder folder;
    EXPECT_FALSE(NewPreviewPath(folder / "missing").has_value());
    const auto file = folder.Write("plain file", "x");
    EXPECT_FALSE(NewPreviewPath(file).has_value());
}

TEST(NewPreviewPath, UsesTmpdir) {
    const TempFolder folder;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", folder.path().c_str(), 1);
    const auto path = NewPreviewPath();
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->parent_path(), folder.path());
}

} // namespace
} // namespace talvex
