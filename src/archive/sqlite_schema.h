#pragma once
// The SQLite archive's tables, versioned: PRAGMA user_version holds the version a file has reached,
// and schema_migrations records when each step was applied. A later version is one more entry in
// the list of migrations.
#include <span>
#include <string_view>

#include "archive/sqlite_statement.h"

namespace morvek {

struct SqliteMigration {
  int version;  // 1, 2, ... in order
  std::string_view sql;
};

// The steps this program knows, oldest first.
std::span<const SqliteMigration> SqliteMigrations();

// Brings the file up to the last of the migrations, each step with its record in one transaction.
// A file that is already there is left alone; one from a later program (a version past the last
// step) raises ArchiveError instead of being written to.
void MigrateSqlite(SqliteConnection& connection, std::span<const SqliteMigration> migrations);

}  // namespace morvek
