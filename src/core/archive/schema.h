#pragma once
// The archive's numbered, forward-only migrations, built into the program.

#include "core/archive/sql_connection.h"

namespace talvex::archive {

// The schema version the archive holds (0 for an empty database).
int SchemaVersion(SqlConnection& db);

// Brings the schema up to `target` (at most kArchiveSchemaVersion) in one transaction that also records
// the new version: SQLite's user_version, PostgreSQL's schema_migrations under an advisory lock so that
// two workstations starting at once do not both migrate. Returns the version found before; a version
// newer than the program's is left alone. Throws SqlError.
int Migrate(SqlConnection& db, int target);

} // namespace talvex::archive
