#pragma once
// The archive tests run one table of cases against both back ends: an SQLite file in the test's own
// folder, and a database of its own on the PostgreSQL server the test scripts start (the URL in
// TALVEX_TEST_POSTGRESQL). Without that variable the PostgreSQL cases are skipped with the reason, unless
// TALVEX_REQUIRE_POSTGRESQL=1, which makes them fail.

#include "core/archive/sql_connection.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace talvex::testing {

enum class Backend { Sqlite, Postgresql };

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

inline const char* TestServerUrl() {
    const char* url = std::getenv("TALVEX_TEST_POSTGRESQL");
    return url && *url ? url : nullptr;
}

inline bool PostgresqlRequired() {
    const char* v = std::getenv("TALVEX_REQUIRE_POSTGRESQL");
    return v && std::string(v) == "1";
}

// The server URL with another database ("postgresql://user@/postgres?host=DIR" -> ".../NAME?host=DIR").
inline std::string WithDatabase(const std::string& url, const std::string& name) {
    const std::size_t scheme = url.find("://");
    const std::size_t slash = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    const std::size_t query = url.find('?', slash == std::string::npos ? 0 : slash);
    if (slash == std::string::npos)
        return url + "/" + name;
    return url.substr(0, slash + 1) + name + (query == std::string::npos ? "" : url.substr(query));
}

// A fresh, empty archive for one test; a PostgreSQL database is dropped afterwards.
class TestArchive {
public:
    // Empty `url` with `skipReason` set when the back end is not there.
    explicit TestArchive(Backend backend) : backend_(backend) {
        if (backend == Backend::Sqlite) {
            url_ = (folder_ / "archive.sqlite").string();
            return;
        }
        const char* server = TestServerUrl();
        if (!server) {
            skipReason_ =
                "TALVEX_TEST_POSTGRESQL is not set: no PostgreSQL server to test the archive against";
            return;
        }
        static std::atomic<int> counter{0};
        database_ = "talvex_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
                    folder_.path().filename().string().substr(12);
        for (char& c : database_)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        for (char& c : database_)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        archive::OpenPostgresql(server)->Script("CREATE DATABASE " + database_);
        url_ = WithDatabase(server, database_);
    }
    ~TestArchive() {
        if (!database_.empty()) {
            try {
                archive::OpenPostgresql(TestServerUrl())
                    ->Script("DROP DATABASE IF EXISTS " + database_ + " WITH (FORCE)");
            } catch (...) {
            }
        }
    }
    TestArchive(const TestArchive&) = delete;
    TestArchive& operator=(const TestArchive&) = delete;

    const std::string& url() const { return url_; }
    const std::string& skipReason() const { return skipReason_; }
    const TempFolder& folder() const { return folder_; }
    Backend backend() const { return backend_; }
    // A raw connection to the archive's database.
    std::unique_ptr<archive::SqlConnection> Raw() const {
        return backend_ == Backend::Sqlite ? archive::OpenSqlite(url_, false) : archive::OpenPostgresql(url_);
    }

private:
    Backend backend_;
    TempFolder folder_;
    std::string url_;
    std::string database_;
    std::string skipReason_;
};

} // namespace talvex::testing

// In a test's SetUp: skip (or fail, when PostgreSQL is required) when the back end is not there.
#define TALVEX_NEED_ARCHIVE(testArchive)                                                                     \
    do {                                                                                                     \
        if (!(testArchive).skipReason().empty()) {                                                           \
            if (::talvex::testing::PostgresqlRequired())                                                     \
                FAIL() << (testArchive).skipReason() << " (TALVEX_REQUIRE_POSTGRESQL=1)";                    \
            GTEST_SKIP() << (testArchive).skipReason();                                                      \
        }                                                                                                    \
    } while (false)
