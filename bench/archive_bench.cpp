// The results archive: archiving the example session's calculation (SQLite; PostgreSQL on the test
// server's socket when TALVEX_TEST_POSTGRESQL is set), listing a year of records (5 000), and the size of a
// record in an SQLite archive.
#include "core/app/example_session.h"
#include "core/app/provenance.h"
#include "core/app/session.h"
#include "core/archive/archive.h"
#include "core/archive/session_record.h"
#include "core/common/settings_store.h"
#include "core/common/sha256.h"
#include "core/results/results_json.h"

#include "collecting_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace talvex::archive;

constexpr int kYearOfRecords = 5000;

[[noreturn]] void Die(const std::string& message) {
    std::cerr << message << '\n';
    std::exit(1);
}

fs::path& Folder() {
    static fs::path dir = fs::temp_directory_path() / ("talvex-archive-bench-" + std::to_string(::getpid()));
    return dir;
}

std::string& PostgresqlServer() {
    static std::string url =
        std::getenv("TALVEX_TEST_POSTGRESQL") ? std::getenv("TALVEX_TEST_POSTGRESQL") : "";
    return url;
}

std::vector<std::string>& Databases() {
    static std::vector<std::string> names;
    return names;
}

// A fresh PostgreSQL database on the server, dropped at the end.
std::string NewDatabase(const std::string& name) {
    const std::string db = "talvex_bench_" + std::to_string(::getpid()) + "_" + name;
    OpenPostgresql(PostgresqlServer())->Script("CREATE DATABASE " + db);
    Databases().push_back(db);
    const std::string& url = PostgresqlServer();
    const std::size_t slash = url.find('/', url.find("://") + 3);
    const std::size_t query = url.find('?', slash);
    return url.substr(0, slash + 1) + db + (query == std::string::npos ? "" : url.substr(query));
}

// The record of the example session's calculation, as talvex-cli run --archive makes it.
const ArchiveRecord& ExampleRecord() {
    static const ArchiveRecord record = [] {
        talvex::MemorySettingsStore profile;
        talvex::Session session(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
        if (!session.LoadComponents().empty() || !talvex::TypeExampleDegassing(session.Degassing(), 3) ||
            !session.AddFiles(talvex::ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")))
            Die("the example session cannot be run");
        const talvex::Provenance provenance = talvex::TakeProvenance(session, 1709626029);
        RecordExtras extras;
        extras.resultsJson = talvex::ResultsJson(session, provenance);
        return BuildArchiveRecord(session, provenance, extras, 1709626029);
    }();
    return record;
}

// The example record as another calculation: other chromatograms, so a new record, not an amendment.
ArchiveRecord Variant(ArchiveRecord record, int n) {
    record.id = NewRecordId();
    for (ArchiveChromatogram& c : record.chromatograms)
        c.sha256 = talvex::Sha256Hex(c.sha256 + std::to_string(n));
    record.fingerprint = RecordFingerprint(record);
    return record;
}

std::unique_ptr<Archive> OpenOrDie(const std::string& url) {
    std::string error;
    auto archive = Archive::Open(url, error);
    if (!archive)
        Die(error);
    return archive;
}

void ArchiveExample(benchmark::State& state, const std::string& url) {
    auto archive = OpenOrDie(url);
    static int n = 0; // the benchmark runs this more than once on one archive
    for (auto _ : state) {
        state.PauseTiming();
        const ArchiveRecord record = Variant(ExampleRecord(), n++);
        state.ResumeTiming();
        const WriteResult result = archive->Write(record);
        if (result.status != WriteStatus::Added) {
            state.SkipWithError(result.message.c_str());
            break;
        }
    }
}

// A year of records; the listing reads the records' own rows only, so their tables are left out.
void FillYear(const std::string& url) {
    auto archive = OpenOrDie(url);
    archive->Connection().Script("BEGIN");
    ArchiveRecord base = ExampleRecord();
    base.controls.clear();
    base.results.clear();
    for (int n = 0; n < kYearOfRecords; ++n) {
        ArchiveRecord r = Variant(base, n);
        r.createdAt += n * 3600;
        SqlConnection& db = archive->Connection();
        db.Query(
            "INSERT INTO records (id, seq, created_at, host, os_user, program_version, schema_version, "
            "fingerprint, sample, settings, degassing, log, results_json) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?)",
            {r.id, std::int64_t{n + 1}, r.createdAt, r.host, r.user, r.programVersion,
             std::int64_t{r.schemaVersion}, r.fingerprint, r.sample, r.settingsJson, r.degassingJson, r.log,
             r.resultsJson});
    }
    archive->Connection().Script("COMMIT");
}

void ListYear(benchmark::State& state, const std::string& url) {
    auto archive = OpenOrDie(url);
    for (auto _ : state) {
        std::string error;
        const auto list = archive->List({}, error);
        if (!list || list->size() != static_cast<std::size_t>(kYearOfRecords)) {
            state.SkipWithError("the year's records are not all listed");
            break;
        }
        benchmark::DoNotOptimize(list->data());
    }
}

// The growth of an SQLite archive per record of the example session, the data files shared.
double KibPerRecord() {
    const fs::path file = Folder() / "size.sqlite";
    auto archive = OpenOrDie(file.string());
    if (archive->Write(Variant(ExampleRecord(), -1)).status != WriteStatus::Added)
        Die("the example record is not archived");
    const auto first = fs::file_size(file);
    constexpr int kMore = 20;
    for (int n = 0; n < kMore; ++n)
        archive->Write(Variant(ExampleRecord(), n));
    return static_cast<double>(fs::file_size(file) - first) / kMore / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    fs::create_directories(Folder());
    ExampleRecord();
    const std::string sqlite = (Folder() / "write.sqlite").string();
    const std::string sqliteYear = (Folder() / "year.sqlite").string();
    FillYear(sqliteYear);
    benchmark::RegisterBenchmark("BM_ArchiveTheExampleSession/SQLite", [&](benchmark::State& s) {
        ArchiveExample(s, sqlite);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ListAYearOfRecords/SQLite", [&](benchmark::State& s) {
        ListYear(s, sqliteYear);
    })->Unit(benchmark::kMillisecond);
    std::string pg, pgYear;
    if (!PostgresqlServer().empty()) {
        pg = NewDatabase("write");
        pgYear = NewDatabase("year");
        FillYear(pgYear);
        benchmark::RegisterBenchmark("BM_ArchiveTheExampleSession/PostgreSQL", [&](benchmark::State& s) {
            ArchiveExample(s, pg);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_ListAYearOfRecords/PostgreSQL", [&](benchmark::State& s) {
            ListYear(s, pgYear);
        })->Unit(benchmark::kMillisecond);
    }
    talvex::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto line = [&](const char* name, const std::string& run, const char* target) {
        if (reporter.millis.contains(run))
            std::cout << name << ": " << reporter.millis[run] << " ms (target: " << target << ")\n";
    };
    line("archive the example session, SQLite", "BM_ArchiveTheExampleSession/SQLite", "< 20 ms");
    line("archive the example session, PostgreSQL on the socket", "BM_ArchiveTheExampleSession/PostgreSQL",
         "< 50 ms on the loopback");
    line("list a year of records (5 000), SQLite", "BM_ListAYearOfRecords/SQLite", "< 100 ms");
    line("list a year of records (5 000), PostgreSQL", "BM_ListAYearOfRecords/PostgreSQL", "< 100 ms");
    if (PostgresqlServer().empty())
        std::cout << "PostgreSQL: not measured (TALVEX_TEST_POSTGRESQL is not set)\n";
    std::cout << "size per record, SQLite, the example session: " << KibPerRecord()
              << " KiB (target: printed; the data files are stored once)\n";
    for (const std::string& db : Databases())
        OpenPostgresql(PostgresqlServer())->Script("DROP DATABASE IF EXISTS " + db + " WITH (FORCE)");
    fs::remove_all(Folder());
    return 0;
}
