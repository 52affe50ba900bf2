#include "core/archive/sql_connection.h"

#include <libpq-fe.h>

#include <charconv>

namespace talvex::archive {
namespace {

constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701;

void IgnoreNotice(void*, const char*) {}

std::string ErrorText(PGconn* conn) {
    std::string text = PQerrorMessage(conn);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

// `?` placeholders as `$1`, `$2`… (the archive's statements hold no question mark in a literal).
std::string Numbered(std::string_view sql) {
    std::string out;
    int n = 0;
    for (const char c : sql) {
        if (c == '?')
            out += '$' + std::to_string(++n);
        else
            out += c;
    }
    return out;
}

int HexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : 0;
}

std::string FromByteaHex(const char* text, std::size_t size) {
    std::string out;
    if (size < 2 || text[0] != '\\' || text[1] != 'x')
        return std::string(text, size);
    out.reserve((size - 2) / 2);
    for (std::size_t i = 2; i + 1 < size; i += 2)
        out += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
    return out;
}

class PostgresqlConnection final : public SqlConnection {
public:
    explicit PostgresqlConnection(PGconn* conn) : conn_(conn) {}
    ~PostgresqlConnection() override { PQfinish(conn_); }

    SqlDialect Dialect() const override { return SqlDialect::Postgresql; }

    std::vector<SqlRow> Query(std::string_view sql, const std::vector<SqlValue>& params) override {
        std::vector<std::string> texts(params.size());
        std::vector<const char*> values(params.size());
        std::vector<int> lengths(params.size());
        std::vector<int> formats(params.size());
        for (std::size_t i = 0; i < params.size(); ++i) {
            const SqlValue& v = params[i];
            if (IsNull(v)) {
                values[i] = nullptr;
                continue;
            }
            texts[i] = AsText(v);
            values[i] = texts[i].c_str();
            lengths[i] = static_cast<int>(texts[i].size());
            formats[i] = std::holds_alternative<Blob>(v) ? 1 : 0;
        }
        const std::string text = Numbered(sql);
        PGresult* result = PQexecParams(conn_, text.c_str(), static_cast<int>(params.size()), nullptr,
                                        values.data(), lengths.data(), formats.data(), 0);
        return Take(result);
    }

    void Script(std::string_view sql) override { Take(PQexec(conn_, std::string(sql).c_str())); }

private:
    std::vector<SqlRow> Take(PGresult* result) {
        struct Clear {
            PGresult* r;
            ~Clear() { PQclear(r); }
        } clear{result};
        const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
            const std::string code = state ? state : "";
            SqlError::Kind kind = SqlError::Kind::Other;
            if (PQstatus(conn_) != CONNECTION_OK || code.starts_with("08"))
                kind = SqlError::Kind::Connection;
            else if (code == "23505")
                kind = SqlError::Kind::UniqueViolation;
            else if (code == "40001" || code == "40P01")
                kind = SqlError::Kind::Busy;
            std::string what = result ? PQresultErrorMessage(result) : "";
            if (what.empty())
                what = ErrorText(conn_);
            while (!what.empty() && (what.back() == '\n' || what.back() == ' '))
                what.pop_back();
            throw SqlError(kind, what);
        }
        std::vector<SqlRow> rows;
        const int n = PQntuples(result);
        const int columns = PQnfields(result);
        for (int r = 0; r < n; ++r) {
            SqlRow row;
            for (int c = 0; c < columns; ++c) {
                if (PQgetisnull(result, r, c)) {
                    row.emplace_back(std::monostate{});
                    continue;
                }
                const char* v = PQgetvalue(result, r, c);
                const auto size = static_cast<std::size_t>(PQgetlength(result, r, c));
                switch (PQftype(result, c)) {
                case kInt2:
                case kInt4:
                case kInt8: {
                    std::int64_t i = 0;
                    std::from_chars(v, v + size, i);
                    row.emplace_back(i);
                    break;
                }
                case kFloat4:
                case kFloat8:
                    row.emplace_back(AsReal(std::string(v, size)));
                    break;
                case kBool:
                    row.emplace_back(std::int64_t{v[0] == 't' ? 1 : 0});
                    break;
                case kBytea:
                    row.emplace_back(Blob{FromByteaHex(v, size)});
                    break;
                default:
                    row.emplace_back(std::string(v, size));
                }
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    PGconn* conn_;
};

} // namespace

std::unique_ptr<SqlConnection> OpenPostgresql(const std::string& conninfo) {
    // The URL (or libpq's service and environment settings when it names nothing) comes last, so that what
    // it says overrides the program's defaults.
    const char* keys[] = {"connect_timeout", "application_name", "client_encoding", "dbname", nullptr};
    const char* values[] = {"10", "talvex", "UTF8", conninfo.c_str(), nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn)
        throw SqlError(SqlError::Kind::Connection, "out of memory");
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string what = ErrorText(conn);
        PQfinish(conn);
        throw SqlError(SqlError::Kind::Connection, what);
    }
    PQsetNoticeProcessor(conn, IgnoreNotice, nullptr);
    auto connection = std::make_unique<PostgresqlConnection>(conn);
    connection->Script("SET client_min_messages = warning; SET extra_float_digits = 3;");
    return connection;
}

} // namespace talvex::archive
