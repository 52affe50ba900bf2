#include "core/app/chromatogram_folder.h"

#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <utime.h>

namespace talvex {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kT = 1700000000; // 14.11.23 22:13:20 UTC

struct TestRun {
    const char* title;
    const char* method;
    const char* site;
    const char* point;
    std::int64_t time;
    int calibration;
};

void WriteRun(const fs::path& folder, const TestRun& run) {
    synth::StgContent c;
    c.passport.sampleName = std::string("Проба ") + run.title;
    c.passport.method = run.method;
    c.passport.samplingSite = run.site;
    c.passport.samplingPoint = run.point;
    c.passport.analysisTime = run.time;
    c.passport.samplingTime = run.time;
    c.passport.calibrationFlag = run.calibration;
    c.samples = {0, 1, 0};
    std::string error;
    ASSERT_TRUE(synth::WriteStg((folder / (std::string(run.title) + ".stg")).string(), c, &error)) << error;
}

std::vector<std::string> Titles(const std::vector<FolderFile>& files) {
    std::vector<std::string> titles;
    for (const FolderFile& f : files)
        titles.push_back(f.title);
    return titles;
}

class ChromatogramFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const TestRun runs[] = {
            {"fid", "ГД ПИД", "Куст 3", "Сепаратор", kT, 0},
            {"tcd1", "ГД ДТП-1", "куст 3", "Сепаратор", kT + 4, 0},
            {"tcd2", "ГД ДТП-2", "Куст 3", "", kT + 2, 0},
            {"later", "гд пид", "Куст 5", "Емкость", kT + 9, 0},
            {"calib", "ГД ПИД", "", "Сепаратор", kT - 3600, 1},
        };
        for (const TestRun& r : runs)
            WriteRun(dir.path(), r);
        dir.Write("broken.stg", "not a compound file");
        ::utimbuf times{kT - 100, kT - 100};
        ::utime((dir / "broken.stg").c_str(), &times);
        dir.Write("notes.txt", "");
        fs::create_directory(dir / "folder.stg"); // a folder is never listed
    }
    testing::TempFolder dir;
};

TEST_F(ChromatogramFolder, ListsPassportsNewestFirstAndUnreadableFilesWithTheirWriteTime) {
    const auto files = ScanChromatogramFolder(dir.path(), RunTypeFilter::Any);
    EXPECT_EQ(Titles(files), (std::vector<std::string>{"later", "tcd1", "tcd2", "fid", "broken", "calib"}));
    const FolderFile& tcd1 = files[1];
    EXPECT_EQ(tcd1.sampleName, "Проба tcd1");
    EXPECT_EQ(tcd1.method, "ГД ДТП-1");
    EXPECT_EQ(tcd1.samplingSite, "куст 3");
    EXPECT_EQ(tcd1.samplingPoint, "Сепаратор");
    EXPECT_EQ(tcd1.time, kT + 4);
    const FolderFile& broken = files[4];
    EXPECT_EQ(broken.sampleName, "????");
    EXPECT_EQ(broken.method, "");
    EXPECT_EQ(broken.time, kT - 100);
    EXPECT_EQ(FolderFileDate(tcd1), "14.11.23");
    EXPECT_EQ(FolderFilePath(dir.path(), tcd1), dir / "tcd1.stg");
}

// A file from a Windows share named RUN1.STG is a chromatogram file like run1.stg; so is RUN3.CDF (here a
// .stg file under that name, which the ANDI reader cannot read: listed as unreadable, dated by its write).
TEST(ChromatogramFolderCase, ExtensionsAreMatchedWithoutRegardToLetterCase) {
    testing::TempFolder dir;
    WriteRun(dir.path(), {"run", "ГД ПИД", "", "", kT, 0});
    for (const char* name : {"RUN1.STG", "Run2.sTg", "RUN3.CDF", "run4.stgx", "RUN5.STG.bak"})
        fs::copy_file(dir / "run.stg", dir / name);
    fs::remove(dir / "run.stg");
    const ::utimbuf times{kT + 60, kT + 60};
    ::utime((dir / "RUN3.CDF").c_str(), &times);
    const auto files = ScanChromatogramFolder(dir.path(), RunTypeFilter::Any);
    EXPECT_EQ(Titles(files), (std::vector<std::string>{"RUN3", "RUN1", "Run2"}));
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[1].sampleName, "Проба run"); // the passport is read through the capitalised name
    EXPECT_EQ(FolderFilePath(dir.path(), files[1]), dir / "RUN1.STG");
    EXPECT_EQ(FolderFilePath(dir.path(), files[2]), dir / "Run2.sTg");
    EXPECT_EQ(FolderFilePath(dir.path(), files[0]), dir / "RUN3.CDF");
}

TEST_F(ChromatogramFolder, TypeFilterKeepsCalibrationOrOtherRuns) {
    EXPECT_EQ(Titles(ScanChromatogramFolder(dir.path(), RunTypeFilter::Calibration)),
              (std::vector<std::string>{"calib"}));
    EXPECT_EQ(Titles(ScanChromatogramFolder(dir.path(), RunTypeFilter::Other)),
              (std::vector<std::string>{"later", "tcd1", "tcd2", "fid", "broken"}));
    EXPECT_TRUE(ScanChromatogramFolder(dir / "missing", RunTypeFilter::Any).empty());
}

TEST_F(ChromatogramFolder, DistinctValuesIgnoreCaseAndEmptyTexts) {
    const auto files = ScanChromatogramFolder(dir.path(), RunTypeFilter::Any);
    EXPECT_EQ(DistinctValues(files, &FolderFile::method),
              (std::vector<std::string>{"гд пид", "ГД ДТП-1", "ГД ДТП-2"}));
    EXPECT_EQ(DistinctValues(files, &FolderFile::samplingSite),
              (std::vector<std::string>{"Куст 5", "куст 3"}));
    EXPECT_EQ(DistinctValues(files, &FolderFile::samplingPoint),
              (std::vector<std::string>{"Емкость", "Сепаратор"}));
}

TEST_F(ChromatogramFolder, FiltersCombineAndIgnoreCase) {
    const auto files = ScanChromatogramFolder(dir.path(), RunTypeFilter::Any);
    const auto titles = [&files](const FolderFilters& f) {
        std::vector<std::string> t;
        for (std::size_t i : FilterFolderFiles(files, f))
            t.push_back(files[i].title);
        return t;
    };
    EXPECT_EQ(titles({}).size(), files.size());
    EXPECT_EQ(titles({"ГД ПИД", {}, {}}), (std::vector<std::string>{"later", "fid", "calib"}));
    EXPECT_EQ(titles({"ГД ПИД", "КУСТ 3", {}}), (std::vector<std::string>{"fid"}));
    EXPECT_EQ(titles({{}, "Куст 3", "сепаратор"}), (std::vector<std::string>{"tcd1", "fid"}));
    EXPECT_TRUE(titles({"нет такого", {}, {}}).empty());
}

TEST(JointRuns, LessThanFiveSecondsApart) {
    const auto at = [](std::int64_t t) {
        FolderFile f;
        f.time = t;
        return f;
    };
    EXPECT_TRUE(AreJointRuns(at(kT), at(kT)));
    EXPECT_TRUE(AreJointRuns(at(kT), at(kT + 4)));
    EXPECT_TRUE(AreJointRuns(at(kT + 4), at(kT)));
    EXPECT_FALSE(AreJointRuns(at(kT), at(kT + 5)));
    EXPECT_FALSE(AreJointRuns(at(kT + 5), at(kT)));
}

} // namespace
} // namespace talvex
