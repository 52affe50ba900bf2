// The archive's behaviour, one table of cases run against both back ends.
#include "archive_backends.h"
#include "core/archive/archive.h"
#include "core/archive/schema.h"
#include "core/archive/spool.h"
#include "core/common/sha256.h"
#include "test_records.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace talvex {
namespace {

using namespace archive;
using controlchart::ControlKind;
using controlchart::ControlMedium;
using controlchart::SeriesKey;
using controlchart::SeriesQuery;
using testing::Backend;
using testing::MakeRecord;
using testing::RecordPlan;
using testing::TestArchive;

class ArchiveTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        TALVEX_NEED_ARCHIVE(test_);
        std::string error;
        archive_ = Archive::Open(test_.url(), error);
        ASSERT_TRUE(archive_) << error;
    }

    std::int64_t Count(const std::string& sql) {
        return AsInt(archive_->Connection().Query(sql).at(0).at(0));
    }

    std::vector<RecordSummary> List(bool all) {
        std::string error;
        ListQuery q;
        q.all = all;
        auto list = archive_->List(q, error);
        EXPECT_TRUE(list) << error;
        return list.value_or(std::vector<RecordSummary>{});
    }

    TestArchive test_{GetParam()};
    std::unique_ptr<Archive> archive_;
};

TEST_P(ArchiveTest, RecordRoundTripsWithItsResultsJsonByteForByteAndMissingNumbersAsNull) {
    const ArchiveRecord written = MakeRecord(1);
    const WriteResult result = archive_->Write(written);
    ASSERT_EQ(result.status, WriteStatus::Added) << result.message;
    EXPECT_EQ(result.id, written.id);

    std::string error;
    const std::optional<StoredRecord> stored = archive_->Show(written.id, error);
    ASSERT_TRUE(stored) << error;
    const ArchiveRecord& r = stored->record;
    EXPECT_EQ(r.resultsJson, written.resultsJson);
    EXPECT_EQ(r.fingerprint, written.fingerprint);
    EXPECT_EQ(r.log, written.log);
    EXPECT_EQ(r.settingsJson, written.settingsJson);
    EXPECT_EQ(r.sample, written.sample);
    EXPECT_TRUE(stored->current);
    ASSERT_EQ(r.chromatograms.size(), 2u);
    EXPECT_EQ(r.chromatograms[1].sha256, written.chromatograms[1].sha256);
    EXPECT_EQ(r.chromatograms[1].analysisNo, -1);
    ASSERT_EQ(r.dataFiles.size(), 2u);
    EXPECT_EQ(r.dataFiles[0].content, written.dataFiles[0].content); // Windows-1251 bytes kept
    ASSERT_EQ(r.results.size(), 2u);
    EXPECT_TRUE(std::isnan(r.results[1].value));
    EXPECT_FALSE(r.results[1].withinLimit.has_value());
    ASSERT_EQ(r.controls.size(), 3u);
    EXPECT_EQ(r.controls[0].observation.measured, written.controls[0].observation.measured);
    EXPECT_TRUE(std::isnan(r.controls[1].observation.limit));
    // A missing value is SQL NULL, never a stand-in number.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM control_rows WHERE limit_value IS NULL AND norm_low IS NULL"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM result_rows WHERE value IS NULL AND within_limit IS NULL"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM audit WHERE action = 'record'"), 1);
}

TEST_P(ArchiveTest, DataFilesAreStoredOncePerDistinctContent) {
    ASSERT_EQ(archive_->Write(MakeRecord(1)).status, WriteStatus::Added);
    ASSERT_EQ(archive_->Write(MakeRecord(2)).status, WriteStatus::Added);
    ASSERT_EQ(archive_->Write(MakeRecord(RecordPlan{.n = 3, .normTable = "норма 2"})).status,
              WriteStatus::Added);
    // Comps.csv is one content for all three; the norm table has two.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM data_files"), 3);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM record_data_files"), 6);
}

TEST_P(ArchiveTest, ChromatogramFilesWhenKeptAreStoredOncePerDistinctFile) {
    ArchiveRecord a = MakeRecord(1), b = MakeRecord(2);
    const std::string bytes = std::string("\0\1stg", 5) + std::string(3000, '\xff');
    const ArchiveDataFile shared{"/runs/blank.stg", Sha256Hex(bytes), bytes};
    a.chromatogramFiles = {shared, {"/runs/1.stg", Sha256Hex("one"), "one"}};
    b.chromatogramFiles = {shared};
    ASSERT_EQ(archive_->Write(a).status, WriteStatus::Added);
    ASSERT_EQ(archive_->Write(b).status, WriteStatus::Added);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM chromatogram_files"), 2);
    std::string error;
    EXPECT_EQ(archive_->ChromatogramFile(shared.sha256, error), bytes);
    EXPECT_FALSE(archive_->ChromatogramFile(Sha256Hex("other"), error));
    EXPECT_EQ(error, "");
}

TEST_P(ArchiveTest, UpdateAndDeleteAreRefusedOnEveryTable) {
    const ArchiveRecord record = MakeRecord(1);
    ASSERT_EQ(archive_->Write(record).status, WriteStatus::Added);
    std::string error;
    ASSERT_TRUE(
        archive_->AddPhase(ControlKind::Okp, ControlMedium::Gas, std::nullopt, 1, "новый этап", error));
    const auto points =
        archive_->Observations({{ControlKind::Okp, ControlMedium::Gas, "component", "Метан"}});
    ASSERT_EQ(points.size(), 1u);
    ASSERT_TRUE(archive_->ExcludePoint(points[0].order, "ошибка пробоотбора", error)) << error;
    SqlConnection& db = archive_->Connection();
    db.Query("INSERT INTO chromatogram_files (sha256, content) VALUES ('x', ?)", {Blob{"bytes"}});
    struct Case {
        const char* table;
        const char* column;
    };
    const Case cases[] = {{"records", "sample"},    {"record_chromatograms", "path"},
                          {"data_files", "sha256"}, {"record_data_files", "name"},
                          {"result_rows", "name"},  {"control_rows", "sample"},
                          {"phases", "reason"},     {"exclusions", "reason"},
                          {"audit", "subject"},     {"chromatogram_files", "sha256"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const std::string table = c.table;
        const std::int64_t before = Count("SELECT COUNT(*) FROM " + table);
        ASSERT_GT(before, 0);
        EXPECT_THROW(db.Query("UPDATE " + table + " SET " + c.column + " = 'changed'"), SqlError);
        EXPECT_THROW(db.Query("DELETE FROM " + table), SqlError);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM " + table), before);
        EXPECT_EQ(
            Count("SELECT COUNT(*) FROM " + table + " WHERE CAST(" + c.column + " AS TEXT) = 'changed'"), 0);
    }
    if (GetParam() == Backend::Postgresql) {
        EXPECT_THROW(db.Script("TRUNCATE records CASCADE"), SqlError);
    }
}

TEST_P(ArchiveTest, IdentityAndAmendments) {
    const ArchiveRecord first = MakeRecord(RecordPlan{.n = 1, .chromatogram = "sample"});

    // The same fingerprint again adds nothing and names the record.
    ASSERT_EQ(archive_->Write(first).status, WriteStatus::Added);
    ArchiveRecord again = first;
    again.id = NewRecordId();
    const WriteResult repeated = archive_->Write(again);
    EXPECT_EQ(repeated.status, WriteStatus::AlreadyPresent);
    EXPECT_EQ(repeated.id, first.id);
    EXPECT_THAT(repeated.message, ::testing::StartsWith("Результат уже в архиве: запись " + first.id));

    // Another calculation of the same chromatogram amends it, and only with a reason.
    const ArchiveRecord noReason = MakeRecord(RecordPlan{.n = 2, .chromatogram = "sample"});
    const WriteResult refused = archive_->Write(noReason);
    EXPECT_EQ(refused.status, WriteStatus::NeedsReason);
    EXPECT_EQ(refused.supersedes, first.id);
    EXPECT_EQ(List(true).size(), 1u);

    const ArchiveRecord amendment =
        MakeRecord(RecordPlan{.n = 2, .chromatogram = "sample", .reason = "опечатка"});
    const WriteResult amended = archive_->Write(amendment);
    ASSERT_EQ(amended.status, WriteStatus::Added) << amended.message;
    EXPECT_EQ(amended.supersedes, first.id);

    // A reason where nothing is amended is kept with the record.
    const ArchiveRecord other = MakeRecord(RecordPlan{.n = 3, .reason = "повторный анализ"});
    ASSERT_EQ(archive_->Write(other).status, WriteStatus::Added);

    const auto current = List(false);
    ASSERT_EQ(current.size(), 2u);
    EXPECT_EQ(current[0].id, amendment.id);
    EXPECT_EQ(current[0].supersedes, first.id);
    EXPECT_EQ(current[0].reason, "опечатка");
    EXPECT_EQ(current[1].id, other.id);
    EXPECT_EQ(current[1].supersedes, "");
    EXPECT_EQ(current[1].reason, "повторный анализ");
    const auto all = List(true);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].id, first.id);
    EXPECT_FALSE(all[0].current);
    std::string error;
    const auto old = archive_->Show(first.id, error);
    ASSERT_TRUE(old);
    EXPECT_FALSE(old->current); // superseded records stay readable
    EXPECT_EQ(Count("SELECT COUNT(*) FROM audit WHERE action = 'amendment'"), 1);
}

TEST_P(ArchiveTest, ListFiltersByTimeAndSampleCaseInsensitively) {
    for (int n = 1; n <= 3; ++n)
        ASSERT_EQ(archive_->Write(MakeRecord(n)).status, WriteStatus::Added);
    std::string error;
    ListQuery q;
    q.from = 1700000000 + 3600;   // record 1's time
    q.to = 1700000000 + 2 * 3600; // record 2's, inclusive
    auto list = archive_->List(q, error);
    ASSERT_TRUE(list) << error;
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0].sample, "Проба 1");
    q = {};
    q.sample = "ПРОБА 3";
    list = archive_->List(q, error);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].sample, "Проба 3");
}

TEST_P(ArchiveTest, ChartPointsPhasesExclusionsAndImports) {
    const SeriesKey okp{ControlKind::Okp, ControlMedium::Gas, "component", "Метан"};
    const SeriesKey oke{ControlKind::Oke, ControlMedium::Gas, "", "Этан"};
    // Archived out of the order of time: the chart goes by time.
    ASSERT_EQ(archive_->Write(MakeRecord(RecordPlan{.n = 1, .controlTime = 2000})).status,
              WriteStatus::Added);
    ASSERT_EQ(archive_->Write(MakeRecord(RecordPlan{.n = 2, .controlTime = 1000})).status,
              WriteStatus::Added);
    // A new norm table starts a phase of every series of that kind and medium; a new certified value
    // starts one of its component's series.
    ASSERT_EQ(
        archive_->Write(MakeRecord(RecordPlan{.n = 3, .normTable = "норма 2", .controlTime = 3000})).status,
        WriteStatus::Added);
    ASSERT_EQ(archive_
                  ->Write(MakeRecord(
                      RecordPlan{.n = 4, .normTable = "норма 2", .certified = 6.0, .controlTime = 4000}))
                  .status,
              WriteStatus::Added);
    // An amendment of record 4 hides its points unless asked otherwise.
    ASSERT_EQ(archive_
                  ->Write(MakeRecord(RecordPlan{.n = 5,
                                                .chromatogram = "run 4",
                                                .normTable = "норма 2",
                                                .certified = 6.0,
                                                .controlTime = 4000,
                                                .reason = "пересчёт"}))
                  .status,
              WriteStatus::Added);
    controlchart::ControlObservation imported;
    imported.key = okp;
    imported.time = 500;
    imported.sample = "из журнала";
    imported.measured = 90.2;
    imported.reference = 90.0;
    imported.difference = 0.2;
    imported.limit = 0.4;
    imported.imported = true;
    std::string error;
    ASSERT_TRUE(archive_->ImportControls({imported}, error)) << error;

    auto points = archive_->Observations({okp});
    ASSERT_EQ(points.size(), 5u);
    const std::int64_t times[] = {500, 1000, 2000, 3000, 4000};
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_EQ(points[i].time, times[i]) << i;
    EXPECT_TRUE(points[0].imported);
    EXPECT_EQ(points[0].record, "");
    EXPECT_FALSE(points[1].imported);
    EXPECT_NE(points[1].record, "");
    EXPECT_EQ(points[4].measured, 90.0 + 5 * 0.01); // the amendment's, not the superseded record's
    EXPECT_EQ(archive_->Observations({okp, std::nullopt, std::nullopt, true}).size(), 6u);
    EXPECT_EQ(archive_->Observations({okp, 1000, 3000, false}).size(), 3u);

    ASSERT_TRUE(archive_->ExcludePoint(points[2].order, "пузырь в дозаторе", error)) << error;
    points = archive_->Observations({okp});
    EXPECT_TRUE(points[2].excluded);
    EXPECT_EQ(points[2].exclusionReason, "пузырь в дозаторе");
    EXPECT_FALSE(points[3].excluded);

    ASSERT_TRUE(
        archive_->AddPhase(ControlKind::Okp, ControlMedium::Gas, "Метан", 3500, "после ремонта", error));
    ASSERT_TRUE(archive_->AddPhase(ControlKind::Okp, ControlMedium::Gas, "Пропан", 3600, "другой", error));
    const auto phases = archive_->Phases(okp);
    ASSERT_EQ(phases.size(), 2u);
    EXPECT_EQ(phases[0].time, 3000);
    EXPECT_THAT(phases[0].reason, ::testing::HasSubstr("TableSection7.csv"));
    EXPECT_EQ(phases[1].time, 3500);
    EXPECT_EQ(phases[1].reason, "после ремонта");
    const auto okePhases = archive_->Phases(oke);
    ASSERT_EQ(okePhases.size(), 2u);
    EXPECT_EQ(okePhases[0].time, 3000);
    EXPECT_EQ(okePhases[1].time, 4000);
    EXPECT_THAT(okePhases[1].reason, ::testing::HasSubstr("аттестованное"));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM audit WHERE action IN ('import', 'phase', 'exclusion')"), 4);
}

TEST_P(ArchiveTest, MigratesAVersionOneArchiveAndOpensANewerOneReadOnly) {
    // A version-1 archive with one record, as an earlier program left it.
    TestArchive old(GetParam());
    TALVEX_NEED_ARCHIVE(old);
    {
        auto db = old.Raw();
        ASSERT_EQ(Migrate(*db, 1), 0);
        ASSERT_EQ(SchemaVersion(*db), 1);
        db->Query(
            "INSERT INTO records (id, seq, created_at, host, os_user, program_version, schema_version, "
            "fingerprint, sample, settings, degassing, log, results_json) "
            "VALUES ('v1-record', 1, 1600000000, 'lab', 'chemist', '0.0.9', 1, 'f1', 'Проба старая', '{}', "
            "'{}', '', '{}')");
    }
    std::string error;
    auto migrated = Archive::Open(old.url(), error);
    ASSERT_TRUE(migrated) << error;
    EXPECT_FALSE(migrated->ReadOnly());
    EXPECT_EQ(SchemaVersion(migrated->Connection()), kArchiveSchemaVersion);
    auto list = migrated->List({}, error);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].sample, "Проба старая");
    ASSERT_EQ(migrated->Write(MakeRecord(1)).status, WriteStatus::Added);
    // The table version 2 adds is append-only too.
    migrated->Connection().Query("INSERT INTO chromatogram_files (sha256, content) VALUES ('x', ?)",
                                 {Blob{"b"}});
    EXPECT_THROW(migrated->Connection().Query("DELETE FROM chromatogram_files"), SqlError);
    migrated.reset();

    // An archive of a newer program: read, never written.
    {
        auto db = old.Raw();
        if (GetParam() == Backend::Sqlite)
            db->Script("PRAGMA user_version = 99");
        else
            db->Query("INSERT INTO schema_migrations (version) VALUES (99)");
    }
    auto newer = Archive::Open(old.url(), error);
    ASSERT_TRUE(newer) << error;
    EXPECT_TRUE(newer->ReadOnly());
    EXPECT_THAT(newer->ReadOnlyReason(), ::testing::HasSubstr("только для чтения"));
    const WriteResult refused = newer->Write(MakeRecord(2));
    EXPECT_EQ(refused.status, WriteStatus::Failed);
    EXPECT_EQ(refused.message, newer->ReadOnlyReason());
    list = newer->List({}, error);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 2u);
}

TEST_P(ArchiveTest, SpoolIsSentOnceAndLeftOnlyAfterCommit) {
    const testing::TempFolder spool;
    const ArchiveRecord a = MakeRecord(1), b = MakeRecord(2);
    std::string error;
    ASSERT_TRUE(SpoolRecord(spool.path(), a, error)) << error;
    ASSERT_TRUE(SpoolRecord(spool.path(), b, error)) << error;
    spool.Write("broken.json", "{\"format\":");
    // A record that is already in the archive leaves the spool without a second copy.
    ASSERT_EQ(archive_->Write(a).status, WriteStatus::Added);
    FlushReport report = FlushSpool(spool.path(), *archive_);
    EXPECT_EQ(report.sent, 1);
    EXPECT_EQ(report.alreadyPresent, 1);
    ASSERT_EQ(report.kept.size(), 1u);
    EXPECT_THAT(report.kept[0], ::testing::StartsWith("broken.json: "));
    // A damaged spool file is kept for a person to look at.
    EXPECT_EQ(spool.Entries(), std::vector<std::string>{"broken.json"});
    report = FlushSpool(spool.path(), *archive_);
    EXPECT_EQ(report.sent, 0);
    EXPECT_EQ(List(true).size(), 2u);
}

TEST_P(ArchiveTest, AmendmentWithoutReasonIsNotSpooled) {
    const testing::TempFolder spool;
    ASSERT_EQ(archive_->Write(MakeRecord(RecordPlan{.n = 1, .chromatogram = "s"})).status,
              WriteStatus::Added);
    const StoreOutcome outcome =
        StoreRecord(test_.url(), spool.path(), MakeRecord(RecordPlan{.n = 2, .chromatogram = "s"}));
    EXPECT_EQ(outcome.status, WriteStatus::NeedsReason);
    EXPECT_TRUE(spool.Entries().empty());
    EXPECT_EQ(List(true).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveTest, ::testing::Values(Backend::Sqlite, Backend::Postgresql),
                         testing::BackendName);

} // namespace
} // namespace talvex
