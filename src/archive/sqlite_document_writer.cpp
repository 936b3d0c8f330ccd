#include "archive/sqlite_document_writer.h"

#include "archive/storable.h"
#include "archive/text_search.h"

namespace morvek {

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
      items_(connection.handle(),
             "INSERT INTO items (document_id, line, packed, code, name, tax_letter, sum, quantity, "
             "price) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      adjustments_(connection.handle(),
                   "INSERT INTO adjustments (document_id, line, surcharge, tax_letter, sum) "
                   "VALUES (?, ?, ?, ?, ?)"),
      payments_(connection.handle(),
                "INSERT INTO payments (document_id, line, form, name, sum, change, rrn) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)"),
      cash_(connection.handle(),
            "INSERT INTO cash_lines (document_id, line, out, form, name, sum) "
            "VALUES (?, ?, ?, ?, ?, ?)"),
      texts_(connection.handle(),
             "INSERT INTO text_lines (document_id, line, text) VALUES (?, ?, ?)"),
      voids_(connection.handle(),
             "INSERT INTO voids (document_id, line, voided_line) VALUES (?, ?, ?)"),
      taxes_(connection.handle(),
             "INSERT INTO taxes (document_id, letter, rate, tax, duty) VALUES (?, ?, ?, ?, ?)"),
      zTaxes_(connection.handle(),
              "INSERT INTO z_taxes (document_id, letter, rate, sales, returns, sales_tax, "
              "returns_tax, sales_duty, returns_duty) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      zPayments_(connection.handle(),
                 "INSERT INTO z_payments (document_id, form, name, sales, returns) "
                 "VALUES (?, ?, ?, ?, ?)"),
      zCash_(connection.handle(),
             "INSERT INTO z_cash (document_id, form, name, cash_in, cash_out, till) "
             "VALUES (?, ?, ?, ?, ?, ?)"),
      zCounts_(connection.handle(),
               "INSERT INTO z_counts (document_id, sales_count, returns_count) VALUES (?, ?, ?)"),
      search_(connection.handle(), "INSERT INTO document_text (rowid, body) VALUES (?, ?)") {}

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
  document_.RunWith(RegisterId(document), document.di, KindName(document.kind), document.number,
                    OrNull{document.timestamp}, document.total, Bytes{document.xml}, arrival);
  if (connection_.Changes() == 0) return false;
  const long long id = connection_.LastInsertId();
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
