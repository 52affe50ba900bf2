#include "core/chromatogram/analysis_grouping.h"
#include "core/chromatogram/chromatogram_list.h"
#include "core/chromatogram/opened_chm_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace talvex {
namespace {

constexpr std::int64_t kT0 = 1'700'000'000;

// A chromatogram as the passport describes it; no signal or peaks are needed to classify it.
COpenedChmFile MakeRun(const std::string& method, const std::string& sampleName,
                       std::int64_t analysisTime = kT0, std::int32_t calibrationFlag = 0) {
    COpenedChmFile c;
    c.passport.method = method;
    c.passport.sampleName = sampleName;
    c.passport.analysisTime = analysisTime;
    c.passport.calibrationFlag = calibrationFlag;
    c.passport.path = "/data/" + method + "/" + sampleName + "-" + std::to_string(analysisTime) + ".stg";
    return c;
}

COpenedChmFile MakeClassified(std::int32_t role, std::int32_t medium, std::int32_t detector) {
    COpenedChmFile c;
    c.role = role;
    c.medium = medium;
    c.detector = detector;
    return c;
}

struct DetectCase {
    const char* method;
    const char* sampleName;
    std::int32_t calibrationFlag;
    std::int32_t detector, role, medium, typeCode;
    int kind;
};

TEST(DetectType, ClassifiesFromMethodAndSampleName) {
    const DetectCase cases[] = {
        // The sample run on "ПИД ГД": thousands from the role word's place in the search order.
        {"ПИД ГД", "Проба 3", 0, 1, 1, 1, 103001, 12},
        {"пид гд", "ПРОБА", 0, 1, 1, 1, 103001, 12},
        {"ДТП-1 ГД", "проба", 0, 2, 1, 1, 103002, 13},
        {"дтп-2 Гд", "пРоБа", 0, 3, 1, 1, 103003, 14},
        {"ПИД ДК", "Проба", 0, 1, 1, 2, 203001, 15},
        {"ДТП-1 ПИД ГД", "проба", 0, 1, 1, 1, 103001, 12}, // "пид" is looked for first
        // controls: "окп" before "проба"
        {"ПИД ГД", "ОКП проба", 0, 1, 4, 1, 101001, 1},
        {"ДТП-2 ГД", "оКп", 0, 3, 4, 1, 101003, 3},
        {"ПИД ДК", "ОКП", 0, 1, 4, 2, 201001, 4},
        {"ПИД ГД", "Окэ", 0, 1, 5, 1, 102001, 5},
        {"ДТП-1 ГД", "ОКЭ эталон", 0, 2, 5, 1, 102002, 6},
        {"ПИД ДК", "ОКЭ", 0, 1, 5, 2, 202001, 8},
        // blank and calibration runs
        {"ПИД ДК", "ХОЛОСТАЯ", 0, 1, 2, 2, 204001, 9},
        {"ПИД ГД", "Холостая", 0, 1, 2, 1, 104001, 10},
        {"ПИД ДК", "Холостая проба", 0, 1, 1, 2, 203001, 15}, // "проба" comes before "холостая"
        {"ПИД ДК", "Градуировка", 0, 1, 3, 2, 205001, 11},
        {"ПИД ДК", "смесь алканов", 1, 1, 3, 2, 205001, 11},
        {"ПИД ДК", "смесь алканов", 0, 6, 0, 0, 0, -1},
        // no detector word
        {"ДТП-3 ГД", "Проба", 0, 4, 0, 0, 0, -1},
        {"FID ГД", "Проба", 0, 4, 0, 0, 0, -1},
        // Latin O and K look like Cyrillic ones but are other letters
        {"ПИД ГД", "OKП", 0, 6, 0, 0, 0, -1},
        // medium: "гд" anywhere, " газ " only between blanks, then "дк"
        {"ПИД газ дегазации", "проба", 0, 1, 1, 1, 103001, 12},
        {"ПИД ДК ГД", "проба", 0, 1, 1, 1, 103001, 12},
        {"газ ПИД", "проба", 0, 1, 1, 3, 0, -9},
        {"ПИД газ", "проба", 0, 1, 1, 3, 0, -9},
        {"ПИД", "ОКЭ", 0, 1, 5, 3, 0, -5},
        // recognised, but not a combination the calculations use
        {"ДТП-1 ДК", "проба", 0, 2, 1, 2, 203002, -9},
        {"ДТП-1 ДК", "холостая", 0, 2, 2, 2, 204002, -6},
        {"ДТП-2 ГД", "градуировка", 0, 3, 3, 1, 105003, -7},
        {"ДТП-1 ДК", "ОКП", 0, 2, 4, 2, 201002, -3},
    };
    for (const DetectCase& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " / " + c.sampleName);
        COpenedChmFile chm = MakeRun(c.method, c.sampleName, kT0, c.calibrationFlag);
        chm.DetectType();
        EXPECT_EQ(chm.detector, c.detector);
        EXPECT_EQ(chm.role, c.role);
        EXPECT_EQ(chm.medium, c.medium);
        EXPECT_EQ(chm.typeCode, c.typeCode);
        EXPECT_EQ(chm.GetKind(), c.kind);
    }
}

TEST(DetectType, ClearsAnEarlierClassification) {
    COpenedChmFile chm = MakeRun("ПИД ГД", "Проба");
    chm.DetectType();
    chm.passport.method = "ДТП-3";
    chm.DetectType();
    EXPECT_EQ(chm.detector, COpenedChmFile::kDetectorUnknown);
    EXPECT_EQ(chm.role, 0);
    EXPECT_EQ(chm.typeCode, 0);
    EXPECT_LT(chm.GetKind(), 0);
}

TEST(GetKind, CoversEveryRoleMediumAndDetector) {
    struct Case {
        std::int32_t role, medium, detector;
        int kind;
    };
    const Case cases[] = {
        {4, 1, 1, 1},  {4, 1, 2, 2},  {4, 1, 3, 3},  {4, 2, 1, 4},  {4, 1, 4, -2}, {4, 2, 2, -3},
        {4, 3, 1, -3}, {5, 1, 1, 5},  {5, 1, 2, 6},  {5, 1, 3, 7},  {5, 2, 1, 8},  {5, 1, 6, -4},
        {5, 2, 3, -5}, {2, 2, 1, 9},  {2, 1, 1, 10}, {2, 1, 2, -6}, {2, 3, 1, -6}, {3, 2, 1, 11},
        {3, 1, 1, -7}, {3, 2, 2, -7}, {1, 1, 1, 12}, {1, 1, 2, 13}, {1, 1, 3, 14}, {1, 2, 1, 15},
        {1, 1, 4, -8}, {1, 2, 3, -9}, {1, 3, 1, -9}, {0, 1, 1, -1}, {6, 1, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "role " << c.role << " medium " << c.medium << " detector " << c.detector);
        EXPECT_EQ(MakeClassified(c.role, c.medium, c.detector).GetKind(), c.kind);
    }
}

TEST(GetTypeLabel, JoinsDetectorMediumAndRole) {
    struct Case {
        std::int32_t role, medium, detector;
        const char* label;
    };
    const Case cases[] = {
        {1, 1, 2, "ДТП-1, Газ, анализ"}, {1, 1, 1, "ПИД, Газ, анализ"},     {2, 2, 1, "ПИД, ДК, холостая"},
        {3, 2, 1, "ПИД, ДК, град."},     {4, 1, 3, "ДТП-2, Газ, ОК проба"}, {5, 2, 1, "ПИД, ДК, ОК эталон"},
        {1, 2, 2, "ДТП-1, ДК, анализ"}, // an unsupported kind still has a label
        {1, 1, 4, "Тип неизвестен"},     {0, 1, 6, "Тип неизвестен"},       {1, 3, 1, "Тип неизвестен"},
        {0, 0, 0, "Тип неизвестен"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeClassified(c.role, c.medium, c.detector).GetTypeLabel(), c.label);
}

TEST(COpenedChmFile, CopiesCarryEveryField) {
    COpenedChmFile chm = MakeRun("ПИД ГД", "Проба 3");
    chm.DetectType();
    chm.fileId = 7;
    chm.analysisNo = 2;
    chm.signal.samples = {1.0f, 2.0f};
    const COpenedChmFile copy(chm);
    COpenedChmFile assigned;
    assigned = chm;
    for (const COpenedChmFile* c : {&copy, static_cast<const COpenedChmFile*>(&assigned)}) {
        EXPECT_EQ(c->fileId, 7);
        EXPECT_EQ(c->typeCode, 103001);
        EXPECT_EQ(c->role, 1);
        EXPECT_EQ(c->analysisNo, 2);
        EXPECT_EQ(c->passport.sampleName, "Проба 3");
        EXPECT_EQ(c->signal.samples.size(), 2u);
        EXPECT_EQ(c->peaks.size(), chm.peaks.size());
    }
}

TEST(COpenedChmFile, FileNameIsThePartAfterTheLastSlash) {
    COpenedChmFile chm;
    for (const auto& [path, name] : std::vector<std::pair<std::string, std::string>>{
             {"/data/Газ дегазации/run 1.stg", "run 1.stg"}, {"run.stg", "run.stg"}, {"/data/", ""}}) {
        chm.passport.path = path;
        EXPECT_EQ(chm.GetFileName(), name);
    }
}

// --- the acceptance rule ---

TEST(AcceptChromatogram, NumbersAcceptedRecordsAndTakesSampleRunsAnyNumberOfTimes) {
    ChromatogramList list;
    std::int32_t nextFileId = 5;
    EXPECT_EQ(AcceptChromatogram(list, MakeRun("ПИД ГД", "Проба 1", kT0), nextFileId),
              AcceptResult::Accepted);
    EXPECT_EQ(AcceptChromatogram(list, MakeRun("ПИД ГД", "Проба 2", kT0 + 60), nextFileId),
              AcceptResult::Accepted);
    EXPECT_EQ(AcceptChromatogram(list, MakeRun("ПИД ДК", "Градуировка", kT0), nextFileId),
              AcceptResult::Accepted);
    EXPECT_EQ(AcceptChromatogram(list, MakeRun("ПИД ДК", "Градуировка", kT0 + 1), nextFileId),
              AcceptResult::Accepted);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(nextFileId, 9);
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i].fileId, static_cast<std::int32_t>(5 + i));
    EXPECT_EQ(list[0].typeCode, 103001); // classified on the way in
    EXPECT_EQ(list[2].GetKind(), 11);
}

TEST(AcceptChromatogram, TakesEachControlAndBlankKindOnce) {
    ChromatogramList list;
    std::int32_t nextFileId = 0;
    const std::pair<const char*, const char*> onceKinds[] = {
        {"ПИД ГД", "ОКП"},      {"ДТП-1 ГД", "ОКП"},    {"ДТП-2 ГД", "ОКП"}, {"ПИД ДК", "ОКП"},
        {"ПИД ГД", "ОКЭ"},      {"ДТП-1 ГД", "ОКЭ"},    {"ДТП-2 ГД", "ОКЭ"}, {"ПИД ДК", "ОКЭ"},
        {"ПИД ДК", "холостая"}, {"ПИД ГД", "холостая"},
    };
    for (const auto& [method, name] : onceKinds) {
        SCOPED_TRACE(std::string(method) + " / " + name);
        EXPECT_EQ(AcceptChromatogram(list, MakeRun(method, name, kT0), nextFileId), AcceptResult::Accepted);
        EXPECT_EQ(AcceptChromatogram(list, MakeRun(method, name, kT0 + 1), nextFileId),
                  AcceptResult::KindPresent);
    }
    EXPECT_EQ(list.size(), 10u);
    EXPECT_EQ(nextFileId, 10);
}

TEST(AcceptChromatogram, RefusesUnsupportedKinds) {
    ChromatogramList list;
    std::int32_t nextFileId = 0;
    for (const auto& [method, name] : std::vector<std::pair<const char*, const char*>>{
             {"ДТП-3 ГД", "Проба"}, {"ПИД ГД", "смесь"}, {"ПИД", "Проба"}, {"ДТП-1 ДК", "Проба"}}) {
        SCOPED_TRACE(method);
        EXPECT_EQ(AcceptChromatogram(list, MakeRun(method, name), nextFileId), AcceptResult::Unsupported);
    }
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(nextFileId, 0);
}

TEST(AcceptChromatogram, RefusesAFileAlreadyInTheListWhateverTheLetterCaseOrSpelling) {
    ChromatogramList list;
    std::int32_t nextFileId = 0;
    COpenedChmFile first = MakeRun("ПИД ГД", "Проба");
    first.passport.path = "/data/Ёлка/Run.STG";
    ASSERT_EQ(AcceptChromatogram(list, first, nextFileId), AcceptResult::Accepted);

    for (const char* path :
         {"/data/Ёлка/Run.STG", "/data/ёлка/run.stg", "/DATA/ЁЛКА/RUN.stg", "/data/./Ёлка/Run.STG"}) {
        COpenedChmFile again = MakeRun("ПИД ГД", "Проба", kT0 + 100);
        again.passport.path = path;
        EXPECT_EQ(AcceptChromatogram(list, again, nextFileId), AcceptResult::DuplicatePath) << path;
    }
    COpenedChmFile other = MakeRun("ПИД ГД", "Проба", kT0 + 100);
    other.passport.path = "/data/Елка/Run.STG"; // Е is not Ё
    EXPECT_EQ(AcceptChromatogram(list, other, nextFileId), AcceptResult::Accepted);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(nextFileId, 2);
}

TEST(AddChromatogramFile, SkipsAFileThatCannotBeLoaded) {
    ChromatogramList list;
    std::int32_t nextFileId = 3;
    EXPECT_EQ(AddChromatogramFile(list, "/nonexistent/folder/run.stg", nextFileId), AcceptResult::LoadFailed);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(nextFileId, 3);
}

// --- grouping into analyses ---

std::vector<std::string> Names(const ChromatogramList& list) {
    std::vector<std::string> names;
    for (const COpenedChmFile& c : list)
        names.push_back(c.passport.sampleName);
    return names;
}

std::vector<std::int32_t> AnalysisNumbers(const ChromatogramList& list) {
    std::vector<std::int32_t> numbers;
    for (const COpenedChmFile& c : list)
        numbers.push_back(c.analysisNo);
    return numbers;
}

ChromatogramList Accepted(const std::vector<COpenedChmFile>& runs) {
    ChromatogramList list;
    std::int32_t nextFileId = 0;
    for (const COpenedChmFile& run : runs)
        EXPECT_EQ(AcceptChromatogram(list, run, nextFileId), AcceptResult::Accepted)
            << run.passport.sampleName;
    return list;
}

TEST(GroupAnalyses, SortsByMediumRoleAndAnalysisAndNumbersAnalysesByTime) {
    ChromatogramList list = Accepted({
        MakeRun("ПИД ДК", "проба a", kT0 + 5000), MakeRun("ДТП-1 ГД", "проба b", kT0 + 9),
        MakeRun("ПИД ГД", "холостая c", kT0 - 100),
        MakeRun("ПИД ГД", "проба d", kT0 + 3600), // the later FID run, added first
        MakeRun("ДТП-2 ГД", "проба e", kT0 + 3591), MakeRun("ПИД ГД", "проба f", kT0),
        MakeRun("ДТП-1 ГД", "проба g", kT0 + 1800), // no FID run near it
        MakeRun("ПИД ГД", "ОКП h", kT0 + 7200), MakeRun("ПИД ДК", "проба i", kT0 + 4000),
        MakeRun("ПИД ДК", "градуировка j", kT0 - 50),
        MakeRun("ДТП-2 ГД", "проба k", kT0 + 10), // one second too late for f's analysis
    });
    GroupAnalyses(list);
    // gas: control, samples without an analysis, analysis 0, analysis 1, blank; then condensate
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"ОКП h", "проба g", "проба k", "проба f", "проба b", "проба d",
                                        "проба e", "холостая c", "проба i", "проба a", "градуировка j"}));
    EXPECT_EQ(AnalysisNumbers(list), (std::vector<std::int32_t>{-1, -1, -1, 0, 0, 1, 1, -1, 0, 1, -1}));
}

TEST(GroupAnalyses, TcdRunsJoinWithinNineSecondsEitherWay) {
    for (const auto& [offset, expected] :
         std::vector<std::pair<std::int64_t, std::int32_t>>{{-10, -1}, {-9, 0}, {0, 0}, {9, 0}, {10, -1}}) {
        SCOPED_TRACE(offset);
        ChromatogramList list =
            Accepted({MakeRun("ДТП-1 ГД", "проба tcd", kT0 + offset), MakeRun("ПИД ГД", "проба fid")});
        GroupAnalyses(list);
        const auto tcd = std::find_if(list.begin(), list.end(), [](const COpenedChmFile& c) {
            return c.detector == COpenedChmFile::kTcd1;
        });
        ASSERT_NE(tcd, list.end());
        EXPECT_EQ(tcd->analysisNo, expected);
    }
}

TEST(GroupAnalyses, ATcdRunNearTwoFidRunsBelongsToTheLaterOne) {
    ChromatogramList list =
        Accepted({MakeRun("ПИД ГД", "проба 1", kT0), MakeRun("ПИД ГД", "проба 2", kT0 + 8),
                  MakeRun("ДТП-2 ГД", "проба tcd", kT0 + 4)});
    GroupAnalyses(list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"проба 1", "проба 2", "проба tcd"}));
    EXPECT_EQ(AnalysisNumbers(list), (std::vector<std::int32_t>{0, 1, 1}));
}

TEST(GroupAnalyses, RenumbersFromScratchAfterTheListChanged) {
    ChromatogramList list =
        Accepted({MakeRun("ПИД ГД", "проба 1", kT0), MakeRun("ДТП-1 ГД", "проба 1 tcd", kT0 + 2),
                  MakeRun("ПИД ГД", "проба 2", kT0 + 600)});
    GroupAnalyses(list);
    ASSERT_EQ(AnalysisNumbers(list), (std::vector<std::int32_t>{0, 0, 1}));
    list.erase(list.begin()); // the first FID run
    GroupAnalyses(list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"проба 1 tcd", "проба 2"}));
    EXPECT_EQ(AnalysisNumbers(list), (std::vector<std::int32_t>{-1, 0}));
}

TEST(GroupAnalyses, KeepsSampleRunsBeforeTheBlankRunWithAHundredAnalyses) {
    std::vector<COpenedChmFile> runs{MakeRun("ПИД ГД", "холостая", kT0 - 1)};
    for (int i = 0; i < 101; ++i)
        runs.push_back(MakeRun("ПИД ГД", "проба " + std::to_string(i), kT0 + 60 * i));
    ChromatogramList list = Accepted(runs);
    GroupAnalyses(list);
    ASSERT_EQ(list.size(), 102u);
    for (int i = 0; i < 101; ++i) {
        EXPECT_EQ(list[i].passport.sampleName, "проба " + std::to_string(i));
        EXPECT_EQ(list[i].analysisNo, i);
    }
    EXPECT_EQ(list.back().role, COpenedChmFile::kBlank);
}

} // namespace
} // namespace talvex
