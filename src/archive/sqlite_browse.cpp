#include "archive/sqlite_browse.h"

#include <string>

#include "archive/browse_query.h"
#include "archive/sqlite_find.h"
#include "archive/sqlite_rows.h"

namespace morvek {

namespace {

constexpr std::string_view kRegisterOfFiscalNumber =
    "(SELECT id FROM registers WHERE fiscal_number = ?)";

long long RegisterIdOf(SqliteConnection& connection, std::string_view fiscalNumber) {
  SqliteStatement statement(connection.handle(),
                            "SELECT id FROM registers WHERE fiscal_number = ?");
  statement.Bind(1, fiscalNumber);
  if (!statement.Step())
    throw ArchiveError("the archive holds no register " + std::string(fiscalNumber));
  return statement.Int(0);
}

// What the sums are read from: the daily totals where the query asks no more of a document than
// its register, its kind and its days, otherwise the documents themselves. Either way as d, with
// the expressions of a row's number of documents and its day.
struct SummedSource {
  std::string from, count, day;
  SqliteConditions where;
};

SummedSource SourceOfSums(const FindQuery& query, std::optional<long long> registerId) {
  if (!AnsweredByDailyTotals(query))
    return {"documents d", "1", "coalesce(substr(d.ts, 1, 10), '')",
            SqliteConditionsOf(query, registerId, false, true)};
  SummedSource source{"daily_totals d", "d.documents", "d.day", {}};
  if (registerId) source.where.Add("d.register_id = ?", {*registerId});
  if (!query.from.empty() || !query.to.empty()) {
    // As for the documents: a period leaves out those without a time (day '').
    source.where.Add("d.day >= ?", {query.from.empty() ? "0" : query.from.substr(0, 10)});
    if (!query.to.empty()) source.where.Add("d.day <= ?", {query.to.substr(0, 10)});
  }
  if (!query.kinds.empty()) {
    std::string in = "d.kind IN (";
    std::vector<SqliteConditions::Value> names;
    for (const DocumentKind kind : query.kinds) {
      in += names.empty() ? "?" : ", ?";
      names.emplace_back(std::string(KindName(kind)));
    }
    source.where.Add(in + ")", std::move(names));
  }
  return source;
}

constexpr std::string_view kSalesAndReturns =
    "coalesce(sum(CASE WHEN d.kind = 'receipt' THEN d.total END), 0), "
    "coalesce(sum(CASE WHEN d.kind = 'return' THEN d.total END), 0)";

}  // namespace

std::vector<FoundDocument> PageInSqlite(SqliteConnection& connection, const FindQuery& query,
                                        std::optional<long long> registerId,
                                        const std::optional<FoundDocument>& after, int rows) {
  SqliteConditions where = SqliteConditionsOf(query, registerId, false, true);
  // One register: its own time index, in which the register is the same throughout.
  const std::string order =
      registerId ? "coalesce(d.ts, ''), d.di" : "coalesce(d.ts, ''), d.register_id, d.di";
  if (after) {
    if (registerId)
      where.Add("(coalesce(d.ts, ''), d.di) > (?, ?)", {after->timestamp, after->di});
    else
      where.Add("(coalesce(d.ts, ''), d.register_id, d.di) > (?, ?, ?)",
                {after->timestamp, RegisterIdOf(connection, after->fiscalNumber), after->di});
  }
  SqliteStatement statement(connection.handle(),
                            "SELECT " + std::string(kFoundColumns) +
                                " FROM documents d JOIN registers r ON r.id = d.register_id" +
                                where.sql + " ORDER BY " + order + " LIMIT ?");
  statement.Bind(where.BindTo(statement), static_cast<long long>(rows));
  std::vector<FoundDocument> page;
  while (statement.Step()) page.push_back(ReadFound(statement));
  return page;
}

DocumentTotals TotalsInSqlite(SqliteConnection& connection, const FindQuery& query,
                              std::optional<long long> registerId) {
  const SummedSource source = SourceOfSums(query, registerId);
  SqliteStatement statement(connection.handle(), "SELECT coalesce(sum(" + source.count + "), 0), " +
                                                     std::string(kSalesAndReturns) + " FROM " +
                                                     source.from + source.where.sql);
  source.where.BindTo(statement);
  if (!statement.Step()) return {};
  return {statement.Int(0), statement.Int(1), statement.Int(2)};
}

std::vector<DailyTotals> DailyInSqlite(SqliteConnection& connection, const FindQuery& query,
                                       std::optional<long long> registerId) {
  const SummedSource source = SourceOfSums(query, registerId);
  SqliteStatement statement(connection.handle(),
                            "SELECT r.fiscal_number, " + source.day + ", " +
                                std::string(kSalesAndReturns) + " FROM " + source.from +
                                " JOIN registers r ON r.id = d.register_id" + source.where.sql +
                                " GROUP BY r.fiscal_number, 2 ORDER BY r.fiscal_number, 2");
  source.where.BindTo(statement);
  std::vector<DailyTotals> days;
  while (statement.Step())
    days.push_back({statement.Text(0), statement.Text(1), statement.Int(2), statement.Int(3)});
  return days;
}

std::optional<FoundDocument> NearestInSqlite(SqliteConnection& connection,
                                             std::string_view fiscalNumber, long long di, Side side,
                                             bool zReport) {
  const bool before = side == Side::kBefore;
  SqliteStatement statement(
      connection.handle(),
      "SELECT " + std::string(kFoundColumns) +
          " FROM documents d JOIN registers r ON r.id = d.register_id WHERE d.register_id = " +
          std::string(kRegisterOfFiscalNumber) + (before ? " AND d.di < ?" : " AND d.di > ?") +
          " AND (d.kind = 'z') = ? ORDER BY d.di" + (before ? " DESC" : "") + " LIMIT 1");
  statement.Bind(1, fiscalNumber).Bind(2, di).Bind(3, zReport ? 1LL : 0LL);
  if (!statement.Step()) return std::nullopt;
  return ReadFound(statement);
}

void ForEachBetweenInSqlite(SqliteConnection& connection, std::string_view fiscalNumber,
                            long long firstDi, long long lastDi,
                            const std::function<void(const StoredDocument&)>& visit) {
  SqliteStatement statement(
      connection.handle(),
      "SELECT " + std::string(kFoundColumns) +
          ", d.xml FROM documents d JOIN registers r ON r.id = d.register_id WHERE d.register_id "
          "= " +
          std::string(kRegisterOfFiscalNumber) + " AND d.di BETWEEN ? AND ? ORDER BY d.di");
  statement.Bind(1, fiscalNumber).Bind(2, firstDi).Bind(3, lastDi);
  while (statement.Step()) visit(ReadStored(statement));
}

}  // namespace morvek
