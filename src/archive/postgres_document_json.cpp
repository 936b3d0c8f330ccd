#include "archive/postgres_document_json.h"

#include <nlohmann/json.hpp>

#include "archive/archive_error.h"
#include "archive/fold_case.h"
#include "archive/text_search.h"
#include "codec/base64.h"

namespace morvek {

namespace {

using nlohmann::json;

template <class Line, class Row>
json Rows(const std::vector<Line>& lines, Row row) {
  json rows = json::array();
  for (const Line& line : lines) rows.push_back(row(line));
  return rows;
}

// The rows of a document's lines for each of kPostgresLineTables, keyed as the columns.
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

}  // namespace

std::string DocumentsJson(const std::vector<const DocumentRecord*>& documents) {
  json all = json::array();
  for (const DocumentRecord* d : documents)
    all.push_back({{"di", d->di},
                   {"kind", KindName(d->kind)},
                   {"number", d->number},
                   {"ts", d->timestamp},
                   {"total", d->total},
                   {"xml", Base64Encode(d->xml)},  // the register's bytes, not UTF-8
                   {"lines", LineRows(*d)},
                   {"words", FoldCase(SearchableText(*d))}});
  try {
    return all.dump();
  } catch (const json::exception&) {
    throw ArchiveError("a document of register " + documents.front()->fiscalNumber +
                       " has a text that is not UTF-8");
  }
}

}  // namespace morvek
