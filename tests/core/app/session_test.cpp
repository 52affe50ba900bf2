#include "core/app/session.h"

#include "session_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace talvex {
namespace {

namespace fs = std::filesystem;

// A session over a copy of the shipped data folder, with chromatogram files made in a temporary folder.
class SessionTest : public testing::SessionFolderTest {
protected:
    std::vector<std::string> Column(const GridModel& grid, std::size_t column) const {
        std::vector<std::string> cells;
        for (const auto& row : grid.rows)
            cells.push_back(row.cells.at(column));
        return cells;
    }
};

constexpr std::int64_t kT = 1700000000; // 14.11.23 22:13:20 UTC

TEST_F(SessionTest, AddingSortsGroupsAndNumbersTheList) {
    const auto condensate = Chromatogram("c.stg", "ПИД ДК", "Проба 7", kT - 500);
    const auto fid2 = Chromatogram("f2.stg", "ПИД ГД", "Проба 2", kT + 600);
    const auto tcd = Chromatogram("t1.stg", "ДТП-1 ГД", "Проба 1", kT + 9);
    const auto late = Chromatogram("t2.stg", "ДТП-2 ГД", "Проба 1", kT + 10);
    const auto blank = Chromatogram("b.stg", "ПИД ГД", "Холостая", kT - 100);
    const auto fid1 = Chromatogram("f1.stg", "ПИД ГД", "Проба 1", kT);
    ASSERT_TRUE(session_->AddFiles({condensate, fid2, tcd, late, blank, fid1, fid1}));
    const GridModel list = session_->ListGrid();
    ASSERT_EQ(list.rows.size(), 6u); // the repeated file is refused
    EXPECT_EQ(Column(list, 1),
              (std::vector<std::string>{"t2.stg", "f1.stg", "t1.stg", "f2.stg", "b.stg", "c.stg"}));
    EXPECT_EQ(Column(list, 5),
              (std::vector<std::string>{"---", "Ан - 1", "Ан - 1", "Ан - 2", "---", "Ан - 1"}));
    EXPECT_EQ(list.rows[0].cells[4], "ДТП-2, Газ, анализ");
    EXPECT_EQ(list.rows[4].cells[4], "ПИД, Газ, холостая");
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    // Each row carries the fileId of its entry, given in order of acceptance.
    EXPECT_EQ(list.rows[5].tag, 0);
    EXPECT_EQ(list.rows[1].tag, 5);
    EXPECT_EQ(session_->NextFileId(), 6);
}

// Nothing is dropped in silence: every file the add left out is listed with its cause, in the order given,
// and the next add starts a new list.
TEST_F(SessionTest, AddingKeepsTheFilesItLeftOutWithTheirCause) {
    const auto fid = Chromatogram("f1.stg", "ПИД ГД", "Проба 1", kT);
    const auto blank = Chromatogram("b1.stg", "ПИД ГД", "Холостая", kT - 100);
    const auto blank2 = Chromatogram("b2.stg", "ПИД ГД", "Холостая", kT - 50);
    const auto unknown = Chromatogram("x.stg", "ДТП-3 ГД", "Проба 1", kT);
    const std::string missing = (dir_ / "files" / "gone.stg").string();
    ASSERT_TRUE(session_->AddFiles({fid, missing, blank, fid, unknown, blank2}));
    EXPECT_EQ(session_->Chromatograms().size(), 2u);
    const std::vector<SkippedFile>& skipped = session_->SkippedFiles();
    ASSERT_EQ(skipped.size(), 4u);
    const std::pair<std::string, SkipCause> expected[] = {{missing, SkipCause::Unreadable},
                                                          {fid, SkipCause::AlreadyListed},
                                                          {unknown, SkipCause::NoDetector},
                                                          {blank2, SkipCause::KindPresent}};
    for (std::size_t i = 0; i < skipped.size(); ++i) {
        EXPECT_EQ(skipped[i].path, expected[i].first) << i;
        EXPECT_EQ(skipped[i].cause, expected[i].second) << i;
    }
    EXPECT_EQ(skipped[0].read.problem, ReadProblem::Missing);

    ASSERT_TRUE(session_->AddFiles({Chromatogram("f2.stg", "ПИД ГД", "Проба 2", kT + 60)}));
    EXPECT_TRUE(session_->SkippedFiles().empty());
    EXPECT_EQ(session_->Chromatograms().size(), 3u);
}

TEST_F(SessionTest, FileIdsRunOnAfterDeletingAndDeleteFilesWithoutIdsStillRecalculates) {
    const auto a = Chromatogram("a.stg", "ПИД ГД", "Проба 1", kT);
    const auto b = Chromatogram("b.stg", "ПИД ГД", "Проба 2", kT + 60);
    ASSERT_TRUE(session_->AddFiles({a, b}));
    session_->Log().PostText(0, "stale");
    ASSERT_TRUE(session_->DeleteFiles({}));
    EXPECT_EQ(session_->Chromatograms().size(), 2u);
    EXPECT_EQ(session_->Log().LogText().find("stale"), std::string::npos);

    ASSERT_TRUE(session_->DeleteFiles({0, 42}));
    ASSERT_EQ(session_->Chromatograms().size(), 1u);
    EXPECT_EQ(session_->Chromatograms()[0].fileId, 1);

    ASSERT_TRUE(session_->DeleteAll());
    EXPECT_TRUE(session_->Chromatograms().empty());
    ASSERT_TRUE(session_->AddFiles({a}));
    EXPECT_EQ(session_->Chromatograms()[0].fileId, 2);
}

TEST_F(SessionTest, ModeCalcSelectsTheCalculationsAndResetsRunAlways) {
    const struct {
        int mode;
        bool gas, condensate, nlh;
    } cases[] = {
        {0, true, false, false}, {1, false, true, false}, {2, true, true, true}, {5, false, false, false}};
    for (const auto& c : cases) {
        profile_.WriteInt("settings", "ModeCalc", c.mode);
        ASSERT_TRUE(session_->Recalculate());
        EXPECT_EQ(session_->Section7().calculated, c.gas) << c.mode;
        EXPECT_EQ(session_->Condensate().calculated, c.condensate) << c.mode;
        EXPECT_EQ(session_->Nlh().calculated, c.nlh) << c.mode;
    }
}

TEST_F(SessionTest, RecalculateDropsThePathsSectionOfTheProfile) {
    profile_.WriteString("paths", "last", "/somewhere");
    ASSERT_TRUE(session_->Recalculate());
    EXPECT_FALSE(profile_.HasSection("paths"));
}

TEST_F(SessionTest, PeakPageShowsTheSelectedChromatogram) {
    ASSERT_TRUE(session_->AddFiles({Chromatogram("a.stg", "ПИД ГД", "Проба 1", kT)}));
    EXPECT_TRUE(session_->PeakGrid().rows.empty()); // adding selects nothing
    EXPECT_EQ(session_->PeakGrid().columns.size(), 4u);
    session_->SelectFile(session_->Chromatograms()[0].fileId);
    const GridModel peaks = session_->PeakGrid();
    ASSERT_EQ(peaks.rows.size(), 1u);
    EXPECT_EQ(peaks.rows[0].cells, (std::vector<std::string>{"1", "Метан", "2.000", "2.000"}));
}

TEST_F(SessionTest, AMissingRetentionTimeFileFailsTheRecalculationAndLeavesNoResults) {
    profile_.WriteInt("settings", "ModeCalc", 2);
    ASSERT_TRUE(session_->Recalculate());
    ASSERT_TRUE(session_->Section7().calculated);
    fs::remove(dir_ / "data" / "CompsTime.csv");
    EXPECT_FALSE(session_->Recalculate());
    EXPECT_NE(session_->RecalcError().find("CompsTime.csv"), std::string::npos);
    EXPECT_FALSE(session_->Section7().calculated);
    EXPECT_FALSE(session_->Nlh().calculated);
}

TEST_F(SessionTest, UnknownRetentionTimeComponentsAreReportedAtEveryRecalculation) {
    const fs::path times = dir_ / "data" / "CompsTime.csv";
    std::ofstream(times, std::ios::app | std::ios::binary)
        << "\xcd\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xfb\xe9;1.0;2.0\r\n";
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(session_->Recalculate());
        const std::string log = session_->Log().LogText();
        EXPECT_NE(log.find("Компонент \"Неизвестный\" таблицы времен выходов н-Парафинов не найден"),
                  std::string::npos)
            << log;
    }
}

} // namespace
} // namespace talvex
