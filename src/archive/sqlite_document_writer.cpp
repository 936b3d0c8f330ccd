#include "archive/sqlite_document_writer.h"

#include "archive/storable.h"
#include "archive/text_search.h"

namespace morvek {

namespace {

// "INSERT INTO table (a, b) VALUES (?, ?)" for this program's own table and column names.
std::string InsertInto(std::string_view table, std::string_view columns) {
  std::string values = "?";
  for (const char c : columns)
    if (c == ',') values += ", ?";
  return "INSERT INTO " + std::string(table) + " (" + std::string(columns) + ") VALUES (" + values +
         ")";
}

}  // namespace

SqliteDocumentWriter::SqliteDocumentWriter(SqliteConnection& connection)
    : connection_(connection),
      // A register first seen in a document: its serial and tax numbers fill what is not known.
      register_(connection.handle(),
                "INSERT INTO registers (fiscal_number, serial_number, tax_number) VALUES (?, ?, ?) "
                "ON CONFLICT (fiscal_number) DO UPDATE SET "
                "serial_number = COALESCE(serial_number, excluded.serial_number), "
                "tax_number = COALESCE(tax_number, excluded.tax_number) RETURNING id"),
      document_(connection.handle(),
                "INSERT INTO documents (register_id, di, kind, number, ts, total, xml, arrival, "
                "arrived_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, strftime('%Y-%m-%d %H:%M:%S', 'now')) "
                "ON CONFLICT (register_id, di) DO NOTHING"),
      items_(connection.handle(), InsertInto("items",
                                             "document_id, line, packed, code, name, "
                                             "tax_letter, sum, quantity, price")),
      adjustments_(connection.handle(),
                   InsertInto("adjustments", "document_id, line, surcharge, tax_letter, sum")),
      payments_(connection.handle(),
                InsertInto("payments", "document_id, line, form, name, sum, change, rrn")),
      cash_(connection.handle(),
            InsertInto("cash_lines", "document_id, line, out, form, name, sum")),
      texts_(connection.handle(), InsertInto("text_lines", "document_id, line, text")),
      voids_(connection.handle(), InsertInto("voids", "document_id, line, voided_line")),
      taxes_(connection.handle(), InsertInto("taxes", "document_id, letter, rate, tax, duty")),
      zTaxes_(connection.handle(),
              InsertInto("z_taxes",
                         "document_id, letter, rate, sales, returns, sales_tax, "
                         "returns_tax, sales_duty, returns_duty")),
      zPayments_(connection.handle(),
                 InsertInto("z_payments", "document_id, form, name, sales, returns")),
      zCash_(connection.handle(),
             InsertInto("z_cash", "document_id, form, name, cash_in, cash_out, till")),
      zCounts_(connection.handle(),
               InsertInto("z_counts", "document_id, sales_count, returns_count")),
      search_(connection.handle(), "INSERT INTO document_text (rowid, body) VALUES (?, ?)"),
      daily_(connection.handle(),
             "INSERT INTO daily_totals (register_id, day, kind, documents, total) "
             "VALUES (?, coalesce(substr(?, 1, 10), ''), ?, 1, ?) "
             "ON CONFLICT (register_id, day, kind) DO UPDATE SET "
             "documents = documents + 1, total = total + excluded.total") {}

long long SqliteDocumentWriter::RegisterId(const DocumentRecord& document) {
  if (const auto known = registerIds_.find(document.fiscalNumber); known != registerIds_.end())
    return known->second;
  register_.Bind(1, document.fiscalNumber)
      .BindOrNull(2, document.serialNumber)
      .BindOrNull(3, document.taxNumber);
  if (!register_.Step()) throw ArchiveError("the archive gave no register id");
  const long long id = register_.Int(0);
  register_.Run();  // to the end of the statement, so that it is done before the next one
  registerIds_.emplace(document.fiscalNumber, id);
  return id;
}

bool SqliteDocumentWriter::Write(const DocumentRecord& document, std::string_view arrival) {
  RequireStorable(document);
  const long long registerId = RegisterId(document);
  document_.RunWith(registerId, document.di, KindName(document.kind), document.number,
                    OrNull{document.timestamp}, document.total, Bytes{document.xml}, arrival);
  if (connection_.Changes() == 0) return false;
  const long long id = connection_.LastInsertId();
  daily_.RunWith(registerId, OrNull{document.timestamp}, KindName(document.kind), document.total);
  if (document.kind == DocumentKind::kZReport)
    WriteZReportLines(id, document);
  else
    WriteReceiptLines(id, document);
  const std::string text = SearchableText(document);
  if (!text.empty()) search_.RunWith(id, text);
  return true;
}

void SqliteDocumentWriter::WriteReceiptLines(long long id, const DocumentRecord& document) {
  for (const ItemLine& item : document.items)
    items_.RunWith(id, item.line, item.packed, OrNull{item.code}, item.name, OrNull{item.taxLetter},
                   item.sum, item.quantity, item.price);
  for (const AdjustmentLine& adjustment : document.adjustments)
    adjustments_.RunWith(id, adjustment.line, adjustment.surcharge, OrNull{adjustment.taxLetter},
                         adjustment.sum);
  for (const PaymentLine& payment : document.payments)
    payments_.RunWith(id, payment.line, payment.form, payment.name, payment.sum, payment.change,
                      OrNull{payment.rrn});
  for (const CashLine& cash : document.cash)
    cash_.RunWith(id, cash.line, cash.out, cash.form, cash.name, cash.sum);
  for (const TextLine& text : document.texts) texts_.RunWith(id, text.line, text.text);
  for (const VoidLine& voided : document.voids) voids_.RunWith(id, voided.line, voided.voidedLine);
  for (const TaxLine& tax : document.taxes)
    taxes_.RunWith(id, tax.letter, tax.rate, tax.tax, tax.duty);
}

void SqliteDocumentWriter::WriteZReportLines(long long id, const DocumentRecord& document) {
  for (const ZTaxTotal& tax : document.zTaxes)
    zTaxes_.RunWith(id, tax.letter, tax.rate, tax.sales, tax.returns, tax.salesTax, tax.returnsTax,
                    tax.salesDuty, tax.returnsDuty);
  for (const ZPaymentTotal& payment : document.zPayments)
    zPayments_.RunWith(id, payment.form, payment.name, payment.sales, payment.returns);
  for (const ZCashTotal& cash : document.zCash)
    zCash_.RunWith(id, cash.form, cash.name, cash.in, cash.out, cash.till);
  zCounts_.RunWith(id, document.salesCount, document.returnsCount);
}

}  // namespace morvek
