#pragma once
// The figures a Z-report closes its shift with, and the same figures summed over the shift's
// receipts, so that the two can be set side by side. Money in kopecks, counts as they are.
#include <compare>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "archive/document_record.h"

namespace morvek {

enum class ShiftFigure {
  kSaleReceipts,     // NC NI: receipts of kind receipt
  kReturnReceipts,   // NC NO: receipts of kind return
  kSalesPayments,    // M SMI per payment form: sale receipts' SM - RM
  kReturnsPayments,  // M SMO per payment form
  kSalesTurnover,    // TXS SMI per tax letter
  kReturnsTurnover,  // TXS SMO
  kSalesTax,         // TXS TXI
  kReturnsTax,       // TXS TXO
  kSalesDuty,        // TXS DTI
  kReturnsDuty,      // TXS DTO
  kCashIn,           // IO SMI per payment form: I lines
  kCashOut,          // IO SMO: O lines
};

// "sale receipts", "sales payments", "sales turnover", "cash in", ...
std::string_view ShiftFigureName(ShiftFigure figure);
// False for the two counts.
bool IsMoney(ShiftFigure figure);
// Turnover, tax and duty are kept per tax letter; payments and cash per payment form.
bool ByTaxLetter(ShiftFigure figure);
bool ByPaymentForm(ShiftFigure figure);

// A figure and what it is kept for: the tax letter (UTF-8, as the register names it) or the
// payment form; neither for the counts.
struct FigureKey {
  ShiftFigure figure = ShiftFigure::kSaleReceipts;
  std::string taxLetter;
  int form = 0;
  auto operator<=>(const FigureKey&) const = default;
};

using ShiftFigures = std::map<FigureKey, long long>;

// Adds a document of the shift to the sums of its receipts. Cancelled receipts add nothing;
// service receipts add their cash lines alone.
void AddToShift(ShiftFigures& sums, const DocumentRecord& document);

// A Z-report's own figures.
ShiftFigures ZReportFigures(const DocumentRecord& zReport);

// A figure the Z-report and its receipts disagree on; a figure one side lacks counts as 0.
struct ShiftDifference {
  FigureKey key;
  long long zReport = 0, receipts = 0;
};
std::vector<ShiftDifference> Differences(const ShiftFigures& zReport, const ShiftFigures& receipts);

}  // namespace morvek
