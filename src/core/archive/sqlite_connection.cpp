#include "core/archive/sql_connection.h"

#include <sqlite3.h>

namespace talvex::archive {
namespace {

SqlError::Kind KindOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return SqlError::Kind::Busy;
    case SQLITE_CONSTRAINT:
        return code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY
                   ? SqlError::Kind::UniqueViolation
                   : SqlError::Kind::Other;
    default:
        return SqlError::Kind::Other;
    }
}

class SqliteConnection final : public SqlConnection {
public:
    explicit SqliteConnection(sqlite3* db) : db_(db) {}
    ~SqliteConnection() override { sqlite3_close_v2(db_); }

    SqlDialect Dialect() const override { return SqlDialect::Sqlite; }

    std::vector<SqlRow> Query(std::string_view sql, const std::vector<SqlValue>& params) override {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
            Fail();
        struct Finalizer {
            sqlite3_stmt* s;
            ~Finalizer() { sqlite3_finalize(s); }
        } finalizer{stmt};
        for (std::size_t i = 0; i < params.size(); ++i)
            Bind(stmt, static_cast<int>(i + 1), params[i]);
        std::vector<SqlRow> rows;
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW)
                Fail();
            SqlRow row;
            const int n = sqlite3_column_count(stmt);
            for (int c = 0; c < n; ++c)
                row.push_back(Column(stmt, c));
            rows.push_back(std::move(row));
        }
        return rows;
    }

    void Script(std::string_view sql) override {
        const std::string text(sql);
        char* message = nullptr;
        if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string what = message ? message : sqlite3_errmsg(db_);
            sqlite3_free(message);
            throw SqlError(KindOf(sqlite3_extended_errcode(db_)), what);
        }
    }

private:
    [[noreturn]] void Fail() { throw SqlError(KindOf(sqlite3_extended_errcode(db_)), sqlite3_errmsg(db_)); }

    void Bind(sqlite3_stmt* stmt, int i, const SqlValue& v) {
        int rc = SQLITE_OK;
        if (const auto* n = std::get_if<std::int64_t>(&v))
            rc = sqlite3_bind_int64(stmt, i, *n);
        else if (const auto* d = std::get_if<double>(&v))
            rc = sqlite3_bind_double(stmt, i, *d);
        else if (const auto* s = std::get_if<std::string>(&v))
            rc = sqlite3_bind_text64(stmt, i, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        else if (const auto* b = std::get_if<Blob>(&v))
            rc = sqlite3_bind_blob64(stmt, i, b->bytes.data(), b->bytes.size(), SQLITE_TRANSIENT);
        else
            rc = sqlite3_bind_null(stmt, i);
        if (rc != SQLITE_OK)
            Fail();
    }

    static SqlValue Column(sqlite3_stmt* stmt, int c) {
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
            return static_cast<std::int64_t>(sqlite3_column_int64(stmt, c));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, c);
        case SQLITE_TEXT: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
        }
        case SQLITE_BLOB: {
            const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, c));
            return Blob{std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)))};
        }
        default:
            return std::monostate{};
        }
    }

    sqlite3* db_;
};

} // namespace

std::unique_ptr<SqlConnection> OpenSqlite(const std::string& path, bool readOnly) {
    sqlite3* db = nullptr;
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string what = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        throw SqlError(SqlError::Kind::Connection, what);
    }
    // Several processes may write one archive file; a writer waits for another's transaction to end, but
    // not forever: a file locked for longer is reported and the record waits in the spool.
    sqlite3_busy_timeout(db, 15000);
    sqlite3_extended_result_codes(db, 1);
    auto connection = std::make_unique<SqliteConnection>(db);
    connection->Script("PRAGMA foreign_keys = ON;");
    // A write-ahead log: one sync per record instead of several, readers never wait for a writer. Every
    // commit is still synced (synchronous FULL), because a committed record leaves the spool.
    if (!readOnly)
        connection->Script("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL;");
    return connection;
}

} // namespace talvex::archive
