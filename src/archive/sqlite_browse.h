#pragma once
// The archive window's reading of the SQLite archive: pages in time order, totals and daily sums,
// and the documents around a shift.
#include <functional>
#include <optional>
#include <vector>

#include "archive/archive.h"
#include "archive/sqlite_statement.h"

namespace morvek {

// registerId: the register the query's key named; none for every register.
std::vector<FoundDocument> PageInSqlite(SqliteConnection& connection, const FindQuery& query,
                                        std::optional<long long> registerId,
                                        const std::optional<FoundDocument>& after, int rows);
DocumentTotals TotalsInSqlite(SqliteConnection& connection, const FindQuery& query,
                              std::optional<long long> registerId);
std::vector<DailyTotals> DailyInSqlite(SqliteConnection& connection, const FindQuery& query,
                                       std::optional<long long> registerId);

std::optional<FoundDocument> NearestInSqlite(SqliteConnection& connection,
                                             std::string_view fiscalNumber, long long di, Side side,
                                             bool zReport);
void ForEachBetweenInSqlite(SqliteConnection& connection, std::string_view fiscalNumber,
                            long long firstDi, long long lastDi,
                            const std::function<void(const StoredDocument&)>& visit);

}  // namespace morvek
