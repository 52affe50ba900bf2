#include "core/chromatogram/chromatogram_list.h"
#include "core/chromatogram/skipped_file.h"

#include "methane_run.h"
#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace talvex {
namespace {

constexpr std::int64_t kT0 = 1700000000;

COpenedChmFile Listed(const std::string& method, const std::string& sampleName, const std::string& path) {
    COpenedChmFile c;
    c.passport.method = method;
    c.passport.sampleName = sampleName;
    c.passport.analysisTime = kT0;
    c.passport.path = path;
    return c;
}

// Every refusal of the acceptance rule says which cause it was, with the passport's texts where they
// decided it, in English for the command line and in Russian for the desktop program.
TEST(SkippedFile, EveryRefusalNamesItsCause) {
    ChromatogramList list;
    std::int32_t nextFileId = 0;
    ASSERT_EQ(AcceptChromatogram(list, Listed("ПИД ГД", "Холостая", "/d/blank.stg"), nextFileId),
              AcceptResult::Accepted);
    ASSERT_EQ(AcceptChromatogram(list, Listed("ПИД ГД", "Проба 1", "/d/fid.stg"), nextFileId),
              AcceptResult::Accepted);
    const struct {
        const char* method;
        const char* sample;
        const char* path;
        AcceptResult result;
        SkipCause cause;
        const char* english;
        const char* russian;
    } cases[] = {
        {"ДТП-3 ГД", "Проба 2", "/d/a.stg", AcceptResult::Unsupported, SkipCause::NoDetector,
         "a kind the calculations do not use: detector not recognised from the passport (method \"ДТП-3 "
         "ГД\", "
         "sample \"Проба 2\")",
         "тип не используется в расчетах: по паспорту не распознан детектор (метод «ДТП-3 ГД», проба "
         "«Проба 2»)"},
        {"ПИД ГД", "смесь", "/d/b.stg", AcceptResult::Unsupported, SkipCause::NoRole,
         "a kind the calculations do not use: role (sample, blank, calibration, control) not recognised from "
         "the passport (method \"ПИД ГД\", sample \"смесь\")",
         "тип не используется в расчетах: по паспорту не распознано назначение (проба, холостая, "
         "градуировка, "
         "ОКП, ОКЭ) (метод «ПИД ГД», проба «смесь»)"},
        {"ПИД", "Проба 3", "/d/c.stg", AcceptResult::Unsupported, SkipCause::NoMedium,
         "a kind the calculations do not use: medium (gas or condensate) not recognised from the passport "
         "(method \"ПИД\", sample \"Проба 3\")",
         "тип не используется в расчетах: по паспорту не распознана среда (ГД или ДК) (метод «ПИД», проба "
         "«Проба 3»)"},
        {"ДТП-1 ГД", "Холостая", "/d/e.stg", AcceptResult::Unsupported, SkipCause::UnusedKind,
         "a kind the calculations do not use: ДТП-1, Газ, холостая (method \"ДТП-1 ГД\", sample "
         "\"Холостая\")",
         "тип не используется в расчетах: ДТП-1, Газ, холостая (метод «ДТП-1 ГД», проба «Холостая»)"},
        {"ПИД ГД", "холостая 2", "/d/f.stg", AcceptResult::KindPresent, SkipCause::KindPresent,
         "a second control or blank run of a kind already in the list: ПИД, Газ, холостая",
         "второй контрольный или холостой анализ этого типа, он уже есть в списке: ПИД, Газ, холостая"},
        {"ПИД ГД", "Проба 1", "/D/FID.STG", AcceptResult::DuplicatePath, SkipCause::AlreadyListed,
         "already in the list", "уже есть в списке"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SkippedFile skipped;
        EXPECT_EQ(AcceptChromatogram(list, Listed(c.method, c.sample, c.path), nextFileId, &skipped),
                  c.result);
        EXPECT_EQ(skipped.path, c.path);
        EXPECT_EQ(skipped.cause, c.cause);
        EXPECT_EQ(SkipReason(skipped), c.english);
        EXPECT_EQ(SkipReasonText(skipped), c.russian);
    }
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(nextFileId, 2);
}

TEST(SkippedFile, AFileThatCannotBeReadCarriesTheReadersReason) {
    testing::TempFolder dir;
    const std::string text = dir.Write("notes.stg", "not a compound file").string();
    const std::string held = (dir / "held.stg").string();
    std::string error;
    ASSERT_TRUE(synth::WriteStg(held, testing::MethaneRun("ПИД ГД", "Проба 1", kT0), &error)) << error;
    const int writer = ::open(held.c_str(), O_RDONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);

    const struct {
        std::string path;
        ReadProblem problem;
        const char* english;
        const char* russian;
    } cases[] = {
        {(dir / "missing.stg").string(), ReadProblem::Missing, "cannot be read: no such file",
         "не читается: файл не найден"},
        {text, ReadProblem::NotChromatogram, "cannot be read: not a chromatogram file: not a compound file",
         "не читается: это не файл хроматограммы"},
        {held, ReadProblem::Held, "cannot be read: held by another program",
         "не читается: файл занят другой программой"},
    };
    ChromatogramList list;
    std::int32_t nextFileId = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SkippedFile skipped;
        EXPECT_EQ(AddChromatogramFile(list, c.path, nextFileId, &skipped), AcceptResult::LoadFailed);
        EXPECT_EQ(skipped.path, c.path);
        EXPECT_EQ(skipped.cause, SkipCause::Unreadable);
        EXPECT_EQ(skipped.read.problem, c.problem);
        EXPECT_EQ(SkipReason(skipped), c.english);
        EXPECT_EQ(SkipReasonText(skipped), c.russian);
    }
    EXPECT_TRUE(list.empty());
    ::close(writer);
    SkippedFile none;
    EXPECT_EQ(AddChromatogramFile(list, held, nextFileId, &none), AcceptResult::Accepted);
}

TEST(SkippedFile, TheMessageListsEachFileWithItsReason) {
    SkippedFile listed;
    listed.path = "/d/a.stg";
    listed.cause = SkipCause::AlreadyListed;
    EXPECT_EQ(SkippedFilesMessage({listed}), "Файл не добавлен в список:\n\n/d/a.stg — уже есть в списке");
    SkippedFile missing;
    missing.path = "/d/b.stg";
    missing.read = ReadResult::Failure(ReadProblem::Missing);
    SkippedFile refused;
    refused.read = ReadResult::Failure(ReadProblem::Unreadable, "Permission denied");
    EXPECT_EQ(SkipReason(refused), "cannot be read: refused by the system: Permission denied");
    EXPECT_EQ(SkipReasonText(refused), "не читается: система отказала в чтении");
    EXPECT_EQ(SkippedFilesMessage({listed, missing}),
              "Файлы не добавлены в список:\n\n/d/a.stg — уже есть в списке\n"
              "/d/b.stg — не читается: файл не найден");
}

} // namespace
} // namespace talvex
