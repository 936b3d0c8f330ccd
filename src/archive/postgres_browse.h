#pragma once
// The archive window's reading of the PostgreSQL archive: pages in time order, totals and daily
// sums, and the documents around a shift. The caller holds the connection's lock.
#include <functional>
#include <optional>
#include <vector>

#include "archive/archive.h"
#include "archive/pg_connection.h"

namespace morvek {

std::vector<FoundDocument> PageInPostgres(PgConnection& db, const FindQuery& query,
                                          const std::optional<FoundDocument>& after, int rows);
DocumentTotals TotalsInPostgres(PgConnection& db, const FindQuery& query);
std::vector<DailyTotals> DailyInPostgres(PgConnection& db, const FindQuery& query);
std::optional<FoundDocument> NearestInPostgres(PgConnection& db, std::string_view fiscalNumber,
                                               long long di, Side side, bool zReport);
void ForEachBetweenInPostgres(PgConnection& db, std::string_view fiscalNumber, long long firstDi,
                              long long lastDi,
                              const std::function<void(const StoredDocument&)>& visit);

}  // namespace morvek
