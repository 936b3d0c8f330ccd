#pragma once
// The search of the SQLite archive: every condition of the query a fixed piece of SQL with its
// values bound, the pieces joined with AND.
#include <optional>
#include <vector>

#include "archive/archive.h"
#include "archive/sqlite_statement.h"

namespace morvek {

// registerId: the register the query's key named; none for every register.
std::vector<FoundDocument> FindInSqlite(SqliteConnection& connection, const FindQuery& query,
                                        std::optional<long long> registerId);

}  // namespace morvek
