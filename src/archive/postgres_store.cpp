#include "archive/postgres_store.h"

#include <algorithm>
#include <set>
#include <string>

#include "archive/postgres_document_json.h"
#include "archive/storable.h"

namespace morvek {

namespace {

// Documents of one register a statement takes at most, so that a large batch is never one
// value of hundreds of megabytes.
constexpr std::size_t kDocumentsAStatement = 500;

// One statement for many documents of a register ($1): the rows of those it does not hold, and
// only theirs, the rows of their lines and their words. The text is made of the fixed table names;
// every value is a parameter.
std::string InsertDocumentsStatement() {
  std::string sql = R"(WITH input AS (
  SELECT * FROM jsonb_to_recordset($2::jsonb) AS x(
    di bigint, kind text, number bigint, ts text, total bigint, xml text, lines jsonb, words text)),
doc AS (
  INSERT INTO documents (register_id, di, kind, number, ts, total, xml, arrival, arrived_at)
  SELECT $1::bigint, di, kind, number, NULLIF(ts, ''), total, decode(xml, 'base64'), $3::text,
         to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS')
  FROM input ORDER BY di
  ON CONFLICT (register_id, di) DO NOTHING
  RETURNING id, di, kind, ts, total),
daily AS (
  INSERT INTO daily_totals (register_id, day, kind, documents, total)
  SELECT $1::bigint, coalesce(substr(ts, 1, 10), ''), kind, count(*), sum(total)
  FROM doc GROUP BY 2, 3 ORDER BY 2, 3
  ON CONFLICT (register_id, day, kind) DO UPDATE SET
    documents = daily_totals.documents + EXCLUDED.documents,
    total = daily_totals.total + EXCLUDED.total),
fresh AS (SELECT doc.id, input.lines, input.words FROM doc JOIN input USING (di)),
words AS (
  INSERT INTO document_words (document_id, words)
  SELECT id, to_tsvector('simple', words) FROM fresh))";
  for (const std::string_view table : kPostgresLineTables)
    sql.append(",\n")
        .append(table)
        .append(" AS (INSERT INTO ")
        .append(table)
        .append(" SELECT row_of.* FROM fresh, jsonb_array_elements(fresh.lines -> '")
        .append(table)
        .append("') AS element, jsonb_populate_record(NULL::")
        .append(table)
        .append(", element || jsonb_build_object('document_id', fresh.id)) AS row_of)");
  return sql + "\nSELECT count(*)::bigint FROM doc";
}

constexpr const char* kInsertRegister = R"(
INSERT INTO registers (fiscal_number, serial_number, tax_number) VALUES ($1::text, $2::text, $3::text)
ON CONFLICT (fiscal_number) DO NOTHING
RETURNING id)";

std::string_view ArrivalName(Arrival how) {
  switch (how) {
    case Arrival::kFetched: return "fetched";
    case Arrival::kImported: return "imported";
    case Arrival::kCollected: return "collected";
  }
  return "fetched";
}

long long RegisterId(PgConnection& connection, const DocumentRecord& d) {
  const PgParams params = PgParams().Text(d.fiscalNumber).Text(d.serialNumber).Text(d.taxNumber);
  const PgResult added = connection.Exec(kInsertRegister, params);
  if (added.Rows() == 1) return added.Int(0, 0);
  // Another collector's, or one held already.
  return connection
      .Exec("SELECT id FROM registers WHERE fiscal_number = $1::text",
            PgParams().Text(d.fiscalNumber))
      .Int(0, 0);
}

// Which of the DIs the archive holds of the register.
std::set<long long> HeldDis(PgConnection& connection, long long registerId,
                            const std::set<long long>& dis) {
  std::string list = "{";
  for (const long long di : dis) list += (list.size() > 1 ? "," : "") + std::to_string(di);
  const PgResult r = connection.Exec(
      "SELECT di FROM documents WHERE register_id = $1::bigint AND di = ANY($2::bigint[])",
      PgParams().Int(registerId).Text(list + "}"));
  std::set<long long> held;
  for (int row = 0; row < r.Rows(); ++row) held.insert(r.Int(row, 0));
  return held;
}

StoreReport StoreOnce(PgConnection& connection, const std::vector<const DocumentRecord*>& ordered,
                      Arrival how) {
  static const std::string kInsertDocuments = InsertDocumentsStatement();
  StoreReport report;
  PgTransaction transaction(connection);
  for (std::size_t start = 0; start < ordered.size();) {
    // The documents of one register, each DI once: a second one in the batch is held.
    const std::string& fiscalNumber = ordered[start]->fiscalNumber;
    const long long registerId = RegisterId(connection, *ordered[start]);
    std::vector<const DocumentRecord*> chunk;
    std::set<long long> dis;
    std::size_t end = start;
    for (; end < ordered.size() && ordered[end]->fiscalNumber == fiscalNumber &&
           chunk.size() < kDocumentsAStatement;
         ++end) {
      if (dis.insert(ordered[end]->di).second)
        chunk.push_back(ordered[end]);
      else
        ++report.held;
    }
    // Those held already are not sent again; one stored by another collector meanwhile is still
    // left alone by the statement.
    const std::set<long long> held = HeldDis(connection, registerId, dis);
    std::erase_if(chunk, [&held](const DocumentRecord* d) { return held.contains(d->di); });
    report.held += static_cast<long long>(dis.size() - chunk.size());
    if (!chunk.empty()) {
      PgParams params;
      params.Int(registerId).Text(DocumentsJson(chunk)).Text(ArrivalName(how));
      const long long stored = connection.Exec(kInsertDocuments, params).Int(0, 0);
      report.stored += stored;
      report.held += static_cast<long long>(chunk.size()) - stored;
    }
    start = end;
  }
  transaction.Commit();
  return report;
}

}  // namespace

StoreReport StorePostgresDocuments(PgConnection& connection,
                                   const std::vector<DocumentRecord>& documents, Arrival how) {
  if (documents.empty()) return {};
  // Every batch takes its rows in one order, so two collectors never wait on each other in a
  // circle.
  std::vector<const DocumentRecord*> ordered;
  for (const DocumentRecord& d : documents) {
    RequireStorable(d);
    ordered.push_back(&d);
  }
  std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
    return a->fiscalNumber != b->fiscalNumber ? a->fiscalNumber < b->fiscalNumber : a->di < b->di;
  });
  for (int attempt = 1;; ++attempt) {
    try {
      return StoreOnce(connection, ordered, how);
    } catch (const PgError& error) {
      const bool lostARace = error.sqlState == "40P01" || error.sqlState == "40001";
      if (!lostARace || attempt == 3) throw;
    }
  }
}

}  // namespace morvek
