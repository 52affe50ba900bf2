#include "core/app/session_replay.h"

#include "core/common/settings.h"
#include "session_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace talvex {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kT = 1700000000;

// A session over a copy of the shipped data folder with chromatogram files in "files/", saved as
// "files/run.tlvx".
class SessionReplayTest : public testing::SessionFolderTest {
protected:
    // Three runs added out of list order, typed degassing values and settings that differ from the defaults.
    SessionRecord SavedSession() {
        const auto condensate = Chromatogram("c.stg", "ПИД ДК", "Проба 7", kT - 500);
        const auto fid = Chromatogram("f.stg", "ПИД ГД", "Проба 1", kT);
        const auto tcd = Chromatogram("t.stg", "ДТП-1 ГД", "Проба 1", kT + 4);
        profile_.WriteInt(kSettingsSection, kKeyDecimals, 4);
        profile_.WriteInt(kSettingsSection, kKeyCorrectO2, 1);
        profile_.WriteString(kSettingsSection, kKeyConcCO2, "0.05");
        profile_.WriteInt(kReportSettingsSection, "CD_CSR", 0);
        session_->Degassing().SetMethod(MethodAModified, 4);
        session_->Degassing().TypeValue(DegassingField::CondMass1, "84,6", 4);
        session_->Degassing().TypeValue(DegassingField::AtmPressure, "99.80", 4);
        EXPECT_TRUE(session_->AddFiles({condensate, tcd, fid}));
        std::string error;
        std::optional<SessionRecord> record =
            CaptureSession(*session_, "ГХ-2", dir_ / "files" / "run.tlvx", kT + 3600, error);
        EXPECT_TRUE(record) << error;
        return record.value_or(SessionRecord{});
    }
};

TEST_F(SessionReplayTest, AReopenedSessionIsTheSameCalculation) {
    const SessionRecord record = SavedSession();
    ASSERT_EQ(record.chromatograms.size(), 3u);
    // List order, with the order of adding kept beside it.
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(record.chromatograms[i].path, session_->Chromatograms()[i].passport.path);
        EXPECT_EQ(record.chromatograms[i].fileId, session_->Chromatograms()[i].fileId);
    }
    EXPECT_EQ(record.chromatograms[2].relativePath, "c.stg");
    EXPECT_EQ(record.chromatograms[2].fileId, 0);
    EXPECT_EQ(record.dataFolderRelative, "../data");
    EXPECT_EQ(record.settings.airCO2, "0.05");
    EXPECT_EQ(record.degassingTexts[0], "99.80");
    EXPECT_EQ(record.dataFiles.size(), 4u);

    MemorySettingsStore otherProfile;
    WriteSessionSettings(record, otherProfile);
    Session reopened(otherProfile, SessionDataFolder(record, dir_ / "files" / "run.tlvx", "nowhere"));
    ASSERT_TRUE(reopened.LoadComponents().empty());
    RestoreDegassing(record, reopened.Degassing(), 4);
    const ResolvedFiles files = ResolveSessionFiles(record, dir_ / "files" / "run.tlvx");
    EXPECT_TRUE(files.problems.empty());
    EXPECT_TRUE(CheckDataFiles(record, reopened.DataFolder()).empty());
    ASSERT_TRUE(reopened.AddFiles(files.paths));

    EXPECT_EQ(reopened.ListGrid().rows.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(reopened.ListGrid().rows[i].cells, session_->ListGrid().rows[i].cells);
        EXPECT_EQ(reopened.Chromatograms()[i].fileId, session_->Chromatograms()[i].fileId);
    }
    const auto fields = reopened.Degassing().Fields();
    const auto savedFields = session_->Degassing().Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].text, savedFields[i].text) << fields[i].caption;
        EXPECT_EQ(fields[i].enabled, savedFields[i].enabled) << fields[i].caption;
    }
    EXPECT_EQ(LoadDeviceName(otherProfile), "ГХ-2");
    EXPECT_EQ(LoadReportSettings(otherProfile).switches, LoadReportSettings(profile_).switches);
    EXPECT_EQ(reopened.Log().LogText(), session_->Log().LogText());
}

TEST_F(SessionReplayTest, AMovedFolderStillOpensByTheRelativePaths) {
    const SessionRecord record = SavedSession();
    fs::rename(dir_ / "files", dir_ / "moved");
    const ResolvedFiles files = ResolveSessionFiles(record, dir_ / "moved" / "run.tlvx");
    EXPECT_TRUE(files.problems.empty());
    ASSERT_EQ(files.paths.size(), 3u);
    for (const std::string& path : files.paths)
        EXPECT_EQ(fs::path(path).parent_path(), dir_ / "moved");
}

TEST_F(SessionReplayTest, MissingAndChangedFilesAreReportedByNameAndTheOthersStillOpen) {
    const SessionRecord record = SavedSession();
    fs::remove(dir_ / "files" / "c.stg");
    std::ofstream(dir_ / "files" / "t.stg", std::ios::app) << '\0';
    const ResolvedFiles files = ResolveSessionFiles(record, dir_ / "files" / "run.tlvx");
    EXPECT_EQ(files.paths, std::vector<std::string>{(dir_ / "files" / "f.stg").string()});
    ASSERT_EQ(files.problems.size(), 2u);
    EXPECT_EQ(files.problems[0].kind, SessionProblem::Kind::MissingFile);
    EXPECT_NE(files.problems[0].text.find("c.stg"), std::string::npos);
    EXPECT_EQ(files.problems[1].kind, SessionProblem::Kind::ChangedFile);
    EXPECT_NE(files.problems[1].text.find("t.stg"), std::string::npos);
}

TEST_F(SessionReplayTest, AChangedOrMissingDataFileIsReported) {
    const SessionRecord record = SavedSession();
    std::ofstream(dir_ / "data" / "TableSection7.csv", std::ios::app) << "\r\n";
    fs::remove(dir_ / "data" / "CompsTime.csv");
    const std::vector<SessionProblem> problems = CheckDataFiles(record, dir_ / "data");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].kind, SessionProblem::Kind::MissingDataFile);
    EXPECT_EQ(problems[0].name, "CompsTime.csv");
    EXPECT_EQ(problems[1].kind, SessionProblem::Kind::ChangedDataFile);
    EXPECT_EQ(problems[1].name, "TableSection7.csv");
}

TEST_F(SessionReplayTest, ASessionWhoseFileIsGoneCannotBeCaptured) {
    SavedSession();
    fs::remove(dir_ / "files" / "f.stg");
    std::string error;
    EXPECT_FALSE(CaptureSession(*session_, "ГХ-2", dir_ / "run.tlvx", kT, error));
    EXPECT_NE(error.find("f.stg"), std::string::npos) << error;
}

} // namespace
} // namespace talvex
