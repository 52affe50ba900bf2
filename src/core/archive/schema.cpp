#include "core/archive/schema.h"

#include "core/archive/archive_record.h"

#include <string>

namespace talvex::archive {
namespace {

// The key of the advisory locks the archive takes on PostgreSQL ("TLVX" and the purpose).
constexpr long long kMigrationLock = 0x544C5658'00000001LL;

// Tables whose rows are never updated or deleted.
constexpr const char* kVersion1Tables[] = {
    "records", "record_chromatograms", "data_files", "record_data_files", "result_rows", "control_rows",
    "phases",  "exclusions",           "audit"};

std::string Dialected(std::string sql, SqlDialect d) {
    const bool lite = d == SqlDialect::Sqlite;
    const std::pair<std::string, std::string> words[] = {
        {"{SEQ}", lite ? "INTEGER PRIMARY KEY AUTOINCREMENT" : "BIGSERIAL PRIMARY KEY"},
        {"{REAL}", lite ? "REAL" : "DOUBLE PRECISION"},
        {"{BLOB}", lite ? "BLOB" : "BYTEA"},
        {"{NOW}",
         lite ? "(CAST(strftime('%s','now') AS INTEGER))" : "(CAST(extract(epoch FROM now()) AS BIGINT))"},
    };
    for (const auto& [from, to] : words)
        for (std::size_t at = sql.find(from); at != std::string::npos; at = sql.find(from, at + to.size()))
            sql.replace(at, from.size(), to);
    return sql;
}

std::string AppendOnly(const std::string& table, SqlDialect d) {
    if (d == SqlDialect::Sqlite)
        return "CREATE TRIGGER " + table + "_no_update BEFORE UPDATE ON " + table +
               " BEGIN SELECT RAISE(ABORT, 'the archive is append-only: rows of " + table +
               " are never updated'); END;\n"
               "CREATE TRIGGER " +
               table + "_no_delete BEFORE DELETE ON " + table +
               " BEGIN SELECT RAISE(ABORT, 'the archive is append-only: rows of " + table +
               " are never deleted'); END;\n";
    return "CREATE TRIGGER " + table + "_append_only BEFORE UPDATE OR DELETE ON " + table +
           " FOR EACH ROW EXECUTE FUNCTION talvex_append_only();\n"
           "CREATE TRIGGER " +
           table + "_no_truncate BEFORE TRUNCATE ON " + table +
           " FOR EACH STATEMENT EXECUTE FUNCTION talvex_append_only();\n";
}

constexpr const char* kVersion1 = R"(
CREATE TABLE records (
    id TEXT PRIMARY KEY,
    seq BIGINT NOT NULL UNIQUE,
    created_at BIGINT NOT NULL,
    host TEXT NOT NULL,
    os_user TEXT NOT NULL,
    program_version TEXT NOT NULL,
    schema_version INTEGER NOT NULL,
    fingerprint TEXT NOT NULL UNIQUE,
    sample TEXT NOT NULL,
    supersedes TEXT UNIQUE REFERENCES records(id),
    reason TEXT,
    settings TEXT NOT NULL,
    degassing TEXT NOT NULL,
    log TEXT NOT NULL,
    results_json TEXT NOT NULL,
    session_json TEXT
);
CREATE TABLE record_chromatograms (
    record_id TEXT NOT NULL REFERENCES records(id),
    pos INTEGER NOT NULL,
    path TEXT NOT NULL,
    sha256 TEXT,
    sample_name TEXT NOT NULL,
    method TEXT NOT NULL,
    analysis_time BIGINT NOT NULL,
    role TEXT NOT NULL,
    role_code INTEGER NOT NULL,
    detector INTEGER NOT NULL,
    medium INTEGER NOT NULL,
    analysis_no INTEGER NOT NULL,
    PRIMARY KEY (record_id, pos)
);
CREATE TABLE data_files (
    sha256 TEXT PRIMARY KEY,
    content {BLOB} NOT NULL
);
CREATE TABLE record_data_files (
    record_id TEXT NOT NULL REFERENCES records(id),
    pos INTEGER NOT NULL,
    name TEXT NOT NULL,
    sha256 TEXT REFERENCES data_files(sha256),
    PRIMARY KEY (record_id, pos)
);
CREATE TABLE result_rows (
    record_id TEXT NOT NULL REFERENCES records(id),
    pos INTEGER NOT NULL,
    result_table TEXT NOT NULL,
    name TEXT NOT NULL,
    value {REAL},
    discrepancy {REAL},
    within_limit INTEGER,
    PRIMARY KEY (record_id, pos)
);
CREATE TABLE control_rows (
    seq {SEQ},
    record_id TEXT REFERENCES records(id),
    kind TEXT NOT NULL,
    medium TEXT NOT NULL,
    list TEXT NOT NULL,
    component TEXT NOT NULL,
    at_time BIGINT NOT NULL,
    sample TEXT NOT NULL,
    measured {REAL},
    reference {REAL},
    difference {REAL},
    limit_value {REAL},
    norm_low {REAL},
    norm_high {REAL},
    imported INTEGER NOT NULL
);
CREATE TABLE phases (
    seq {SEQ},
    kind TEXT NOT NULL,
    medium TEXT NOT NULL,
    component TEXT,
    from_time BIGINT NOT NULL,
    reason TEXT NOT NULL,
    automatic INTEGER NOT NULL
);
CREATE TABLE exclusions (
    control_seq BIGINT NOT NULL REFERENCES control_rows(seq),
    reason TEXT NOT NULL
);
CREATE TABLE audit (
    seq {SEQ},
    at_time BIGINT NOT NULL DEFAULT {NOW},
    action TEXT NOT NULL,
    subject TEXT NOT NULL,
    os_user TEXT NOT NULL,
    host TEXT NOT NULL
);
)";

// Version 2: indexes for the lists and charts, and the store of chromatogram files (kept when the
// setting asks for them, each distinct file once).
constexpr const char* kVersion2 = R"(
CREATE INDEX control_rows_series ON control_rows (kind, medium, list, component, at_time, seq);
CREATE INDEX record_chromatograms_sha256 ON record_chromatograms (sha256);
CREATE INDEX records_created_at ON records (created_at);
CREATE TABLE chromatogram_files (
    sha256 TEXT PRIMARY KEY,
    content {BLOB} NOT NULL
);
)";

void Apply(SqlConnection& db, int version) {
    const SqlDialect d = db.Dialect();
    std::string sql;
    if (version == 1) {
        if (d == SqlDialect::Postgresql)
            sql += "CREATE FUNCTION talvex_append_only() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                   "RAISE EXCEPTION 'the archive is append-only: % on % refused', TG_OP, TG_TABLE_NAME; "
                   "END $$;\n";
        sql += Dialected(kVersion1, d);
        for (const char* table : kVersion1Tables)
            sql += AppendOnly(table, d);
    } else if (version == 2) {
        sql += Dialected(kVersion2, d) + AppendOnly("chromatogram_files", d);
    }
    db.Script(sql);
}

} // namespace

int SchemaVersion(SqlConnection& db) {
    if (db.Dialect() == SqlDialect::Sqlite)
        return static_cast<int>(AsInt(db.Query("PRAGMA user_version").at(0).at(0)));
    if (IsNull(db.Query("SELECT to_regclass('schema_migrations')").at(0).at(0)))
        return 0;
    return static_cast<int>(
        AsInt(db.Query("SELECT COALESCE(MAX(version), 0) FROM schema_migrations").at(0).at(0)));
}

int Migrate(SqlConnection& db, int target) {
    const bool lite = db.Dialect() == SqlDialect::Sqlite;
    db.Script(lite ? "BEGIN IMMEDIATE" : "BEGIN");
    try {
        if (!lite) {
            db.Query("SELECT pg_advisory_xact_lock(?)", {static_cast<std::int64_t>(kMigrationLock)});
            db.Script("CREATE TABLE IF NOT EXISTS schema_migrations (version INTEGER PRIMARY KEY, "
                      "applied_at BIGINT NOT NULL DEFAULT (CAST(extract(epoch FROM now()) AS BIGINT)))");
        }
        const int found = SchemaVersion(db);
        for (int v = found + 1; v <= target && v <= kArchiveSchemaVersion; ++v) {
            Apply(db, v);
            if (lite)
                db.Script("PRAGMA user_version = " + std::to_string(v));
            else
                db.Query("INSERT INTO schema_migrations (version) VALUES (?)", {std::int64_t{v}});
        }
        db.Script("COMMIT");
        return found;
    } catch (...) {
        try {
            db.Script("ROLLBACK");
        } catch (...) {
        }
        throw;
    }
}

} // namespace talvex::archive
