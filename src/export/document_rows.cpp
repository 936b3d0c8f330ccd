#include "export/document_rows.h"

#include <algorithm>

#include "export/export_values.h"

namespace morvek {

const std::vector<std::string_view> kDocumentColumns = {
    "fiscal_number", "register_name", "tax_number", "serial_number", "kind", "number", "di",
    "date_time",     "total",         "desk",       "operator"};

const std::vector<std::string_view> kLineColumns = {
    "line_kind", "line",   "code", "name", "tax_letter", "tax_rate", "quantity", "price",
    "sum",       "change", "tax",  "duty", "form",       "rrn",      "detail",   "voided_line"};

const std::vector<std::string_view> kZTotalColumns = {
    "total",    "tax_letter", "tax_rate",    "form",         "name",         "sales",
    "returns",  "sales_tax",  "returns_tax", "sales_duty",   "returns_duty", "cash_in",
    "cash_out", "till",       "sales_count", "returns_count"};

bool IsZReport(const DocumentRecord& document) {
  return document.kind == DocumentKind::kZReport;
}

ExportRow DocumentRow(const DocumentRecord& document, std::string_view registerName) {
  ExportRow row;
  row.Text("fiscal_number", document.fiscalNumber)
      .Text("tax_number", document.taxNumber)
      .Text("serial_number", document.serialNumber)
      .Text("kind", std::string(KindName(document.kind)))
      .Number("number", document.number)
      .Number("di", document.di)
      .Money("total", document.total);
  if (!registerName.empty()) row.Text("register_name", std::string(registerName));
  if (!document.timestamp.empty()) row.Text("date_time", IsoTimestamp(document.timestamp));
  if (!IsZReport(document)) {
    row.Number("desk", document.desk);
    if (!document.operatorName.empty()) row.Text("operator", document.operatorName);
  }
  return row;
}

namespace {

ExportRow LineRow(std::string_view kind, int line) {
  ExportRow row;
  row.Text("line_kind", std::string(kind)).Number("line", line);
  return row;
}

ExportRow ItemRow(const ItemLine& item) {
  ExportRow row = LineRow("item", item.line);
  row.Text("code", item.code)
      .Text("name", item.name)
      .Quantity("quantity", item.quantity)
      .Money("price", item.price)
      .Money("sum", item.sum);
  if (!item.taxLetter.empty()) row.Text("tax_letter", item.taxLetter);
  if (item.packed) row.Text("detail", "packed");
  return row;
}

ExportRow AdjustmentRow(const AdjustmentLine& adjustment) {
  ExportRow row = LineRow("adjustment", adjustment.line);
  row.Money("sum", adjustment.sum).Text("detail", adjustment.surcharge ? "surcharge" : "discount");
  if (!adjustment.taxLetter.empty()) row.Text("tax_letter", adjustment.taxLetter);
  return row;
}

ExportRow PaymentRow(const PaymentLine& payment) {
  ExportRow row = LineRow("payment", payment.line);
  row.Number("form", payment.form).Text("name", payment.name).Money("sum", payment.sum);
  if (payment.change != 0) row.Money("change", payment.change);
  if (!payment.rrn.empty()) row.Text("rrn", payment.rrn);
  return row;
}

ExportRow CashRow(const CashLine& cash) {
  ExportRow row = LineRow("cash", cash.line);
  return row.Number("form", cash.form)
      .Text("name", cash.name)
      .Money("sum", cash.sum)
      .Text("detail", cash.out ? "out" : "in");
}

ExportRow TextRow(const TextLine& text) {
  return LineRow("text", text.line).Text("name", text.text);
}

ExportRow VoidRow(const VoidLine& voided) {
  return LineRow("void", voided.line).Number("voided_line", voided.voidedLine);
}

ExportRow TaxRow(const TaxLine& tax) {
  ExportRow row;
  row.Text("line_kind", "tax").Money("tax", tax.tax);
  if (!tax.letter.empty()) row.Text("tax_letter", tax.letter);
  if (!tax.rate.empty()) row.Text("tax_rate", tax.rate);
  if (tax.duty != 0) row.Money("duty", tax.duty);
  return row;
}

template <typename Lines, typename ToRow>
void AddRows(std::vector<std::pair<int, ExportRow>>& rows, const Lines& lines, ToRow toRow) {
  for (const auto& line : lines) rows.emplace_back(line.line, toRow(line));
}

// A Z-report total of one payment form.
ExportRow FormTotalRow(std::string_view total, int form, const std::string& name) {
  ExportRow row;
  row.Text("total", std::string(total)).Number("form", form).Text("name", name);
  return row;
}

}  // namespace

std::vector<ExportRow> ReceiptLineRows(const DocumentRecord& document) {
  std::vector<std::pair<int, ExportRow>> numbered;
  AddRows(numbered, document.items, ItemRow);
  AddRows(numbered, document.adjustments, AdjustmentRow);
  AddRows(numbered, document.payments, PaymentRow);
  AddRows(numbered, document.cash, CashRow);
  AddRows(numbered, document.texts, TextRow);
  AddRows(numbered, document.voids, VoidRow);
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ExportRow> rows;
  rows.reserve(numbered.size() + document.taxes.size());
  for (auto& [line, row] : numbered) rows.push_back(std::move(row));
  for (const TaxLine& tax : document.taxes) rows.push_back(TaxRow(tax));
  return rows;
}

std::vector<ExportRow> ZTotalRows(const DocumentRecord& document) {
  std::vector<ExportRow> rows;
  if (!IsZReport(document)) return rows;
  for (const ZTaxTotal& tax : document.zTaxes) {
    ExportRow row;
    row.Text("total", "tax")
        .Text("tax_letter", tax.letter)
        .Money("sales", tax.sales)
        .Money("returns", tax.returns)
        .Money("sales_tax", tax.salesTax)
        .Money("returns_tax", tax.returnsTax)
        .Money("sales_duty", tax.salesDuty)
        .Money("returns_duty", tax.returnsDuty);
    if (!tax.rate.empty()) row.Text("tax_rate", tax.rate);
    rows.push_back(std::move(row));
  }
  for (const ZPaymentTotal& payment : document.zPayments)
    rows.push_back(std::move(FormTotalRow("payment", payment.form, payment.name)
                                 .Money("sales", payment.sales)
                                 .Money("returns", payment.returns)));
  for (const ZCashTotal& cash : document.zCash)
    rows.push_back(std::move(FormTotalRow("cash", cash.form, cash.name)
                                 .Money("cash_in", cash.in)
                                 .Money("cash_out", cash.out)
                                 .Money("till", cash.till)));
  ExportRow counts;
  rows.push_back(std::move(counts.Text("total", "counts")
                               .Number("sales_count", document.salesCount)
                               .Number("returns_count", document.returnsCount)));
  return rows;
}

}  // namespace morvek
