#pragma once
#include "archive/pg_connection.h"

namespace morvek {

// Brings the archive's tables to this program's schema version: every migration not yet in
// schema_migrations, in one transaction under an advisory lock, so that collectors connecting at
// once migrate once. Raises ArchiveError when the database holds a newer schema than this program
// knows.
void MigratePostgresArchive(PgConnection& connection);

// The newest schema version this program knows.
int PostgresSchemaVersion();

}  // namespace morvek
