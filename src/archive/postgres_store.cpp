#include "archive/postgres_store.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "archive/search_words.h"

namespace morvek {

namespace {

using nlohmann::json;

// One statement a document: the row of the document and, only when it is new, the rows of its
// lines, which come as one JSON value with an array for each table.
constexpr const char* kInsertDocument = R"(
WITH doc AS (
  INSERT INTO documents (register_id, di, kind, number, ts, total, xml, arrival, arrived_at)
  VALUES ($1::bigint, $2::bigint, $3::text, $4::bigint, NULLIF($5::text, ''), $6::bigint,
          $7::bytea, $8::text, to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS'))
  ON CONFLICT (register_id, di) DO NOTHING
  RETURNING id),
lines AS (SELECT $9::jsonb AS j),
items AS (
  INSERT INTO items (document_id, line, packed, code, name, tax_letter, sum, quantity, price)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'items') AS x(
    line integer, packed boolean, code text, name text, tax_letter text, sum bigint,
    quantity bigint, price bigint)),
adjustments AS (
  INSERT INTO adjustments (document_id, line, surcharge, tax_letter, sum)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'adjustments') AS x(
    line integer, surcharge boolean, tax_letter text, sum bigint)),
payments AS (
  INSERT INTO payments (document_id, line, form, name, sum, change, rrn)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'payments') AS x(
    line integer, form integer, name text, sum bigint, change bigint, rrn text)),
cash_lines AS (
  INSERT INTO cash_lines (document_id, line, out, form, name, sum)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'cash_lines') AS x(
    line integer, out boolean, form integer, name text, sum bigint)),
text_lines AS (
  INSERT INTO text_lines (document_id, line, text)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'text_lines') AS x(
    line integer, text text)),
voids AS (
  INSERT INTO voids (document_id, line, voided_line)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'voids') AS x(
    line integer, voided_line integer)),
taxes AS (
  INSERT INTO taxes (document_id, letter, rate, tax, duty)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'taxes') AS x(
    letter text, rate text, tax bigint, duty bigint)),
z_taxes AS (
  INSERT INTO z_taxes (document_id, letter, rate, sales, returns, sales_tax, returns_tax,
                       sales_duty, returns_duty)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'z_taxes') AS x(
    letter text, rate text, sales bigint, returns bigint, sales_tax bigint, returns_tax bigint,
    sales_duty bigint, returns_duty bigint)),
z_payments AS (
  INSERT INTO z_payments (document_id, form, name, sales, returns)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'z_payments') AS x(
    form integer, name text, sales bigint, returns bigint)),
z_cash AS (
  INSERT INTO z_cash (document_id, form, name, cash_in, cash_out, till)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'z_cash') AS x(
    form integer, name text, cash_in bigint, cash_out bigint, till bigint)),
z_counts AS (
  INSERT INTO z_counts (document_id, sales_count, returns_count)
  SELECT doc.id, x.* FROM doc, lines, jsonb_to_recordset(lines.j -> 'z_counts') AS x(
    sales_count bigint, returns_count bigint)),
words AS (
  INSERT INTO document_words (document_id, words)
  SELECT doc.id, to_tsvector('simple', $10::text) FROM doc)
SELECT id FROM doc)";

constexpr const char* kInsertRegister = R"(
INSERT INTO registers (fiscal_number, serial_number, tax_number) VALUES ($1::text, $2::text, $3::text)
ON CONFLICT (fiscal_number) DO NOTHING
RETURNING id)";

// The rows of a document's lines, a JSON array for each table, keyed as the columns.
json LineRows(const DocumentRecord& d) {
  json rows = json::object();
  auto& items = rows["items"] = json::array();
  for (const ItemLine& l : d.items)
    items.push_back({{"line", l.line},
                     {"packed", l.packed},
                     {"code", l.code},
                     {"name", l.name},
                     {"tax_letter", l.taxLetter},
                     {"sum", l.sum},
                     {"quantity", l.quantity},
                     {"price", l.price}});
  auto& adjustments = rows["adjustments"] = json::array();
  for (const AdjustmentLine& l : d.adjustments)
    adjustments.push_back({{"line", l.line},
                           {"surcharge", l.surcharge},
                           {"tax_letter", l.taxLetter},
                           {"sum", l.sum}});
  auto& payments = rows["payments"] = json::array();
  for (const PaymentLine& l : d.payments)
    payments.push_back({{"line", l.line},
                        {"form", l.form},
                        {"name", l.name},
                        {"sum", l.sum},
                        {"change", l.change},
                        {"rrn", l.rrn}});
  auto& cash = rows["cash_lines"] = json::array();
  for (const CashLine& l : d.cash)
    cash.push_back(
        {{"line", l.line}, {"out", l.out}, {"form", l.form}, {"name", l.name}, {"sum", l.sum}});
  auto& texts = rows["text_lines"] = json::array();
  for (const TextLine& l : d.texts) texts.push_back({{"line", l.line}, {"text", l.text}});
  auto& voids = rows["voids"] = json::array();
  for (const VoidLine& l : d.voids)
    voids.push_back({{"line", l.line}, {"voided_line", l.voidedLine}});
  auto& taxes = rows["taxes"] = json::array();
  for (const TaxLine& l : d.taxes)
    taxes.push_back({{"letter", l.letter}, {"rate", l.rate}, {"tax", l.tax}, {"duty", l.duty}});
  auto& zTaxes = rows["z_taxes"] = json::array();
  for (const ZTaxTotal& t : d.zTaxes)
    zTaxes.push_back({{"letter", t.letter},
                      {"rate", t.rate},
                      {"sales", t.sales},
                      {"returns", t.returns},
                      {"sales_tax", t.salesTax},
                      {"returns_tax", t.returnsTax},
                      {"sales_duty", t.salesDuty},
                      {"returns_duty", t.returnsDuty}});
  auto& zPayments = rows["z_payments"] = json::array();
  for (const ZPaymentTotal& t : d.zPayments)
    zPayments.push_back(
        {{"form", t.form}, {"name", t.name}, {"sales", t.sales}, {"returns", t.returns}});
  auto& zCash = rows["z_cash"] = json::array();
  for (const ZCashTotal& t : d.zCash)
    zCash.push_back({{"form", t.form},
                     {"name", t.name},
                     {"cash_in", t.in},
                     {"cash_out", t.out},
                     {"till", t.till}});
  auto& zCounts = rows["z_counts"] = json::array();
  if (d.kind == DocumentKind::kZReport)
    zCounts.push_back({{"sales_count", d.salesCount}, {"returns_count", d.returnsCount}});
  return rows;
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
    params.Text(lines).Text(SearchText(*d));
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
    if (d.fiscalNumber.empty())
      throw ArchiveError("document DI " + std::to_string(d.di) + " names no register");
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
