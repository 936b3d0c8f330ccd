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
  document_.Bind(1, RegisterId(document))
      .Bind(2, document.di)
      .Bind(3, KindName(document.kind))
      .Bind(4, document.number)
      .BindOrNull(5, document.timestamp)
      .Bind(6, document.total)
      .BindBlob(7, document.xml)
      .Bind(8, arrival);
  document_.Run();
  if (connection_.Changes() == 0) return false;
  const long long id = connection_.LastInsertId();
  if (document.kind == DocumentKind::kZReport)
    WriteZReportLines(id, document);
  else
    WriteReceiptLines(id, document);
  const std::string text = SearchableText(document);
  if (!text.empty()) search_.Bind(1, id).Bind(2, text).Run();
  return true;
}

void SqliteDocumentWriter::WriteReceiptLines(long long id, const DocumentRecord& document) {
  for (const ItemLine& item : document.items)
    items_.Bind(1, id)
        .Bind(2, item.line)
        .Bind(3, item.packed ? 1 : 0)
        .BindOrNull(4, item.code)
        .Bind(5, item.name)
        .BindOrNull(6, item.taxLetter)
        .Bind(7, item.sum)
        .Bind(8, item.quantity)
        .Bind(9, item.price)
        .Run();
  for (const AdjustmentLine& adjustment : document.adjustments)
    adjustments_.Bind(1, id)
        .Bind(2, adjustment.line)
        .Bind(3, adjustment.surcharge ? 1 : 0)
        .BindOrNull(4, adjustment.taxLetter)
        .Bind(5, adjustment.sum)
        .Run();
  for (const PaymentLine& payment : document.payments)
    payments_.Bind(1, id)
        .Bind(2, payment.line)
        .Bind(3, payment.form)
        .Bind(4, payment.name)
        .Bind(5, payment.sum)
        .Bind(6, payment.change)
        .BindOrNull(7, payment.rrn)
        .Run();
  for (const CashLine& cash : document.cash)
    cash_.Bind(1, id)
        .Bind(2, cash.line)
        .Bind(3, cash.out ? 1 : 0)
        .Bind(4, cash.form)
        .Bind(5, cash.name)
        .Bind(6, cash.sum)
        .Run();
  for (const TextLine& text : document.texts)
    texts_.Bind(1, id).Bind(2, text.line).Bind(3, text.text).Run();
  for (const VoidLine& voided : document.voids)
    voids_.Bind(1, id).Bind(2, voided.line).Bind(3, voided.voidedLine).Run();
  for (const TaxLine& tax : document.taxes)
    taxes_.Bind(1, id)
        .Bind(2, tax.letter)
        .Bind(3, tax.rate)
        .Bind(4, tax.tax)
        .Bind(5, tax.duty)
        .Run();
}

void SqliteDocumentWriter::WriteZReportLines(long long id, const DocumentRecord& document) {
  for (const ZTaxTotal& tax : document.zTaxes)
    zTaxes_.Bind(1, id)
        .Bind(2, tax.letter)
        .Bind(3, tax.rate)
        .Bind(4, tax.sales)
        .Bind(5, tax.returns)
        .Bind(6, tax.salesTax)
        .Bind(7, tax.returnsTax)
        .Bind(8, tax.salesDuty)
        .Bind(9, tax.returnsDuty)
        .Run();
  for (const ZPaymentTotal& payment : document.zPayments)
    zPayments_.Bind(1, id)
        .Bind(2, payment.form)
        .Bind(3, payment.name)
        .Bind(4, payment.sales)
        .Bind(5, payment.returns)
        .Run();
  for (const ZCashTotal& cash : document.zCash)
    zCash_.Bind(1, id)
        .Bind(2, cash.form)
        .Bind(3, cash.name)
        .Bind(4, cash.in)
        .Bind(5, cash.out)
        .Bind(6, cash.till)
        .Run();
  zCounts_.Bind(1, id).Bind(2, document.salesCount).Bind(3, document.returnsCount).Run();
}

}  // namespace morvek
