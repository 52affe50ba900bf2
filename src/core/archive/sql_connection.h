#pragma once
// The little the archive needs of a database: statements with parameters, rows back, and the two
// dialects' differences named. Failures throw SqlError inside the archive; its public calls catch them.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace talvex::archive {

struct Blob {
    std::string bytes;
};

// NULL, an integer, a real, a UTF-8 text or bytes.
using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;
using SqlRow = std::vector<SqlValue>;

enum class SqlDialect { Sqlite, Postgresql };

class SqlError : public std::runtime_error {
public:
    enum class Kind { Other, UniqueViolation, Busy, Connection };
    SqlError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

class SqlConnection {
public:
    virtual ~SqlConnection() = default;
    virtual SqlDialect Dialect() const = 0;
    // One statement; parameters are written `?` in either dialect.
    virtual std::vector<SqlRow> Query(std::string_view sql, const std::vector<SqlValue>& params = {}) = 0;
    // Several statements without parameters.
    virtual void Script(std::string_view sql) = 0;
};

// The value as a text ("" for NULL), as an integer (0 for NULL) and as a real (NaN for NULL).
std::string AsText(const SqlValue& v);
std::int64_t AsInt(const SqlValue& v);
double AsReal(const SqlValue& v);
bool IsNull(const SqlValue& v);
// A missing number (NaN) as NULL.
SqlValue Real(double v);
// An empty text as NULL.
SqlValue TextOrNull(const std::string& v);

std::unique_ptr<SqlConnection> OpenSqlite(const std::string& path, bool readOnly);
std::unique_ptr<SqlConnection> OpenPostgresql(const std::string& conninfo);

} // namespace talvex::archive
