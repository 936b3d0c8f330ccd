#include "archive/postgres_store.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "archive/fold_case.h"
#include "archive/storable.h"
#include "archive/text_search.h"

namespace morvek {

namespace {

using nlohmann::json;

// The tables of a document's lines; the JSON value of a document's lines has an array of rows
// for each, keyed by the column names.
constexpr const char* kLineTables[] = {"items",      "adjustments", "payments", "cash_lines",
                                       "text_lines", "voids",       "taxes",    "z_taxes",
                                       "z_payments", "z_cash",      "z_counts"};

// One statement a document: the row of the document and, only when it is new, the rows of its
// lines and its words. The text is made of the fixed names above; every value is a parameter.
std::string InsertDocumentStatement() {
  std::string sql = R"(WITH doc AS (
  INSERT INTO documents (register_id, di, kind, number, ts, total, xml, arrival, arrived_at)
  VALUES ($1::bigint, $2::bigint, $3::text, $4::bigint, NULLIF($5::text, ''), $6::bigint,
          $7::bytea, $8::text, to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS'))
  ON CONFLICT (register_id, di) DO NOTHING
  RETURNING id),
lines AS (SELECT $9::jsonb AS j),
words AS (
  INSERT INTO document_words (document_id, words)
  SELECT doc.id, to_tsvector('simple', $10::text) FROM doc))";
  for (const std::string table : kLineTables)
    sql += ",\n" + table + " AS (INSERT INTO " + table +
           " SELECT row_of.* FROM doc, lines, jsonb_array_elements(lines.j -> '" + table +
           "') AS element, jsonb_populate_record(NULL::" + table +
           ", element || jsonb_build_object('document_id', doc.id)) AS row_of)";
  return sql + "\nSELECT id FROM doc";
}

constexpr const char* kInsertRegister = R"(
INSERT INTO registers (fiscal_number, serial_number, tax_number) VALUES ($1::text, $2::text, $3::text)
ON CONFLICT (fiscal_number) DO NOTHING
RETURNING id)";

template <class Line, class Row>
json Rows(const std::vector<Line>& lines, Row row) {
  json rows = json::array();
  for (const Line& line : lines) rows.push_back(row(line));
  return rows;
}

// The rows of a document's lines for each of kLineTables, keyed as the columns.
json LineRows(const DocumentRecord& d) {
  json zCounts = json::array();
  if (d.kind == DocumentKind::kZReport)
    zCounts.push_back({{"sales_count", d.salesCount}, {"returns_count", d.returnsCount}});
  return {
      {"items", Rows(d.items,
                     [](const ItemLine& l) -> json {
                       return {
                           {"line", l.line},         {"packed", l.packed},        {"code", l.code},
                           {"name", l.name},         {"tax_letter", l.taxLetter}, {"sum", l.sum},
                           {"quantity", l.quantity}, {"price", l.price}};
                     })},
      {"adjustments", Rows(d.adjustments,
                           [](const AdjustmentLine& l) -> json {
                             return {{"line", l.line},
                                     {"surcharge", l.surcharge},
                                     {"tax_letter", l.taxLetter},
                                     {"sum", l.sum}};
                           })},
      {"payments", Rows(d.payments,
                        [](const PaymentLine& l) -> json {
                          return {{"line", l.line}, {"form", l.form},     {"name", l.name},
                                  {"sum", l.sum},   {"change", l.change}, {"rrn", l.rrn}};
                        })},
      {"cash_lines", Rows(d.cash,
                          [](const CashLine& l) -> json {
                            return {{"line", l.line},
                                    {"out", l.out},
                                    {"form", l.form},
                                    {"name", l.name},
                                    {"sum", l.sum}};
                          })},
      {"text_lines", Rows(d.texts,
                          [](const TextLine& l) -> json {
                            return {{"line", l.line}, {"text", l.text}};
                          })},
      {"voids", Rows(d.voids,
                     [](const VoidLine& l) -> json {
                       return {{"line", l.line}, {"voided_line", l.voidedLine}};
                     })},
      {"taxes",
       Rows(d.taxes,
            [](const TaxLine& l) -> json {
              return {{"letter", l.letter}, {"rate", l.rate}, {"tax", l.tax}, {"duty", l.duty}};
            })},
      {"z_taxes", Rows(d.zTaxes,
                       [](const ZTaxTotal& t) -> json {
                         return {{"letter", t.letter},        {"rate", t.rate},
                                 {"sales", t.sales},          {"returns", t.returns},
                                 {"sales_tax", t.salesTax},   {"returns_tax", t.returnsTax},
                                 {"sales_duty", t.salesDuty}, {"returns_duty", t.returnsDuty}};
                       })},
      {"z_payments",
       Rows(d.zPayments,
            [](const ZPaymentTotal& t) -> json {
              return {
                  {"form", t.form}, {"name", t.name}, {"sales", t.sales}, {"returns", t.returns}};
            })},
      {"z_cash", Rows(d.zCash,
                      [](const ZCashTotal& t) -> json {
                        return {{"form", t.form},
                                {"name", t.name},
                                {"cash_in", t.in},
                                {"cash_out", t.out},
                                {"till", t.till}};
                      })},
      {"z_counts", zCounts},
  };
}

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

StoreReport StoreOnce(PgConnection& connection, const std::vector<const DocumentRecord*>& ordered,
                      Arrival how) {
  StoreReport report;
  std::map<std::string, long long, std::less<>> registerIds;
  PgTransaction transaction(connection);
  for (const DocumentRecord* d : ordered) {
    auto known = registerIds.find(d->fiscalNumber);
    if (known == registerIds.end())
      known = registerIds.emplace(d->fiscalNumber, RegisterId(connection, *d)).first;
    std::string lines;
    try {
      lines = LineRows(*d).dump();
    } catch (const json::exception&) {
      throw ArchiveError("document DI " + std::to_string(d->di) + " of register " +
                         d->fiscalNumber + " has a text that is not UTF-8");
    }
    PgParams params;
    params.Int(known->second).Int(d->di).Text(KindName(d->kind)).Int(d->number);
    params.Text(d->timestamp).Int(d->total).Bytes(d->xml).Text(ArrivalName(how));
    params.Text(lines).Text(FoldCase(SearchableText(*d)));
    static const std::string kInsertDocument = InsertDocumentStatement();
    if (connection.Exec(kInsertDocument, params).Rows() == 1)
      ++report.stored;
    else
      ++report.held;
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
