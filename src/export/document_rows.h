#pragma once
// A document of the archive as the rows of an export: the document itself, each line of a receipt
// (items, discounts and surcharges, payments, cash in and out, texts, voided items, taxes) and each
// total of a Z-report (per tax letter, per payment form, cash, the counts). Texts are UTF-8.
#include <string_view>
#include <vector>

#include "archive/document_record.h"
#include "export/export_row.h"

namespace morvek {

// fiscal_number, register_name, tax_number, serial_number, kind, number, di, date_time, total,
// desk, operator.
extern const std::vector<std::string_view> kDocumentColumns;
ExportRow DocumentRow(const DocumentRecord& document, std::string_view registerName);

// line_kind (item, adjustment, payment, cash, text, void, tax), line, code, name, tax_letter, ...
extern const std::vector<std::string_view> kLineColumns;
// The lines of a receipt in the order of their numbers, then its taxes; none for a Z-report.
std::vector<ExportRow> ReceiptLineRows(const DocumentRecord& document);

// total (tax, payment, cash, counts), tax_letter, tax_rate, form, name, sales, returns, ...
extern const std::vector<std::string_view> kZTotalColumns;
// The totals of a Z-report: per tax letter, per payment form, cash, then the counts.
std::vector<ExportRow> ZTotalRows(const DocumentRecord& document);

bool IsZReport(const DocumentRecord& document);

}  // namespace morvek
