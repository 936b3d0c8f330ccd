#include "archive/postgres_browse.h"

#include <string>

#include "archive/browse_query.h"
#include "archive/postgres_query.h"

namespace morvek {

namespace {

constexpr std::string_view kSalesAndReturns =
    "coalesce(sum(CASE WHEN d.kind = 'receipt' THEN d.total END), 0)::bigint, "
    "coalesce(sum(CASE WHEN d.kind = 'return' THEN d.total END), 0)::bigint";

// A statement of sums: "SELECT <columns> FROM <the source> ... <conditions>", the source the
// daily totals where the query asks no more of a document than its register, its kind and whole
// days, otherwise the documents. In columns and joins, "{count}" stands for a row's number of
// documents and "{day}" for its day.
PgQuery SumsQuery(const FindQuery& q, std::string columns, const std::string& joins) {
  const bool daily = AnsweredByDailyTotals(q);
  const std::string count = daily ? "d.documents" : "1";
  const std::string day = daily ? "d.day" : "coalesce(substr(d.ts, 1, 10), '')";
  for (const auto& [name, value] : {std::pair{"{count}", count}, std::pair{"{day}", day}})
    for (std::size_t at; (at = columns.find(name)) != std::string::npos;)
      columns.replace(at, std::string_view(name).size(), value);
  PgQuery query("SELECT " + columns + " FROM " + (daily ? "daily_totals d" : "documents d") +
                joins);
  if (!daily) {
    AddPgConditions(query, q, true);
    return query;
  }
  if (!q.registerKey.empty()) {
    query.Where("d.register_id = " + PgRegisterByKey(query.Next()));
    query.params().Text(q.registerKey);
  }
  if (!q.from.empty() || !q.to.empty()) {
    // As for the documents: a period leaves out those without a time (day '').
    query.Where("d.day >= ", "::text").Text(q.from.empty() ? "0" : q.from.substr(0, 10));
    if (!q.to.empty()) query.Where("d.day <= ", "::text").Text(q.to.substr(0, 10));
  }
  if (!q.kinds.empty()) query.Where("d.kind = ANY(", "::text[])").Text(PgKindArray(q.kinds));
  return query;
}

}  // namespace

std::vector<FoundDocument> PageInPostgres(PgConnection& db, const FindQuery& q,
                                          const std::optional<FoundDocument>& after, int rows) {
  PgQuery query(PgSelectDocuments(false));
  AddPgConditions(query, q, true);
  // One register: its own time index, in which the register is the same throughout.
  const bool oneRegister = !q.registerKey.empty();
  if (after) {
    if (oneRegister) {
      const std::string ts = query.Next() + "::text";
      query.params().Text(after->timestamp);
      query.Where("(coalesce(d.ts, ''), d.di) > (" + ts + ", " + query.Next() + "::bigint)");
      query.params().Int(after->di);
    } else {
      const std::string ts = query.Next() + "::text";
      query.params().Text(after->timestamp);
      const std::string registerId =
          "(SELECT id FROM registers WHERE fiscal_number = " + query.Next() + "::text)";
      query.params().Text(after->fiscalNumber);
      query.Where("(coalesce(d.ts, ''), d.register_id, d.di) > (" + ts + ", " + registerId + ", " +
                  query.Next() + "::bigint)");
      query.params().Int(after->di);
    }
  }
  query.sql() += oneRegister ? " ORDER BY coalesce(d.ts, ''), d.di"
                             : " ORDER BY coalesce(d.ts, ''), d.register_id, d.di";
  query.sql() += " LIMIT " + query.Next() + "::bigint";
  query.params().Int(rows);
  const PgResult r = db.Exec(query.sql(), query.params());
  std::vector<FoundDocument> page;
  page.reserve(static_cast<std::size_t>(r.Rows()));
  for (int row = 0; row < r.Rows(); ++row) page.push_back(PgFoundAt(r, row));
  return page;
}

DocumentTotals TotalsInPostgres(PgConnection& db, const FindQuery& q) {
  PgQuery query =
      SumsQuery(q, "coalesce(sum({count}), 0)::bigint, " + std::string(kSalesAndReturns), "");
  const PgResult r = db.Exec(query.sql(), query.params());
  return {r.Int(0, 0), r.Int(0, 1), r.Int(0, 2)};
}

std::vector<DailyTotals> DailyInPostgres(PgConnection& db, const FindQuery& q) {
  PgQuery query = SumsQuery(q, "r.fiscal_number, {day}, " + std::string(kSalesAndReturns),
                            " JOIN registers r ON r.id = d.register_id");
  query.sql() += " GROUP BY 1, 2 ORDER BY 1, 2";
  const PgResult r = db.Exec(query.sql(), query.params());
  std::vector<DailyTotals> days;
  for (int row = 0; row < r.Rows(); ++row)
    days.push_back({r.Text(row, 0), r.Text(row, 1), r.Int(row, 2), r.Int(row, 3)});
  return days;
}

std::optional<FoundDocument> NearestInPostgres(PgConnection& db, std::string_view fiscalNumber,
                                               long long di, Side side, bool zReport) {
  const bool before = side == Side::kBefore;
  const PgResult r = db.Exec(
      PgSelectDocuments(false) +
          "WHERE d.register_id = (SELECT id FROM registers WHERE fiscal_number = $1::text) AND "
          "d.di " +
          (before ? "<" : ">") + " $2::bigint AND (d.kind = 'z') = $3::boolean ORDER BY d.di" +
          (before ? " DESC" : "") + " LIMIT 1",
      PgParams().Text(fiscalNumber).Int(di).Text(zReport ? "t" : "f"));
  if (r.Rows() == 0) return std::nullopt;
  return PgFoundAt(r, 0);
}

void ForEachBetweenInPostgres(PgConnection& db, std::string_view fiscalNumber, long long firstDi,
                              long long lastDi,
                              const std::function<void(const StoredDocument&)>& visit) {
  const PgResult r = db.Exec(
      PgSelectDocuments(true) +
          "WHERE d.register_id = (SELECT id FROM registers WHERE fiscal_number = $1::text) AND "
          "d.di BETWEEN $2::bigint AND $3::bigint ORDER BY d.di",
      PgParams().Text(fiscalNumber).Int(firstDi).Int(lastDi));
  for (int row = 0; row < r.Rows(); ++row) visit({PgFoundAt(r, row), r.Text(row, 7)});
}

}  // namespace morvek
