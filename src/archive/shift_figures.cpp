#include "archive/shift_figures.h"

#include <set>

namespace morvek {

namespace {

// The turnover per tax letter of a receipt: its goods, less the items taken back off it, less
// its discounts and plus its surcharges.
std::map<std::string, long long> Turnover(const DocumentRecord& receipt) {
  std::map<std::string, long long> turnover;
  std::map<int, const ItemLine*> byLine;
  for (const ItemLine& item : receipt.items) {
    turnover[item.taxLetter] += item.sum;
    byLine[item.line] = &item;
  }
  std::set<int> voided;
  for (const VoidLine& taken : receipt.voids) {
    const auto item = byLine.find(taken.voidedLine);
    // A line taken back twice is taken back once.
    if (item == byLine.end() || !voided.insert(taken.voidedLine).second) continue;
    turnover[item->second->taxLetter] -= item->second->sum;
  }
  // A discount or surcharge on the subtotal falls to the lowest tax letter of the goods that
  // stayed on the receipt (of any of its goods when every one was taken back).
  std::string lowest;
  bool found = false;
  for (const bool keptOnly : {true, false}) {
    for (const ItemLine& item : receipt.items) {
      if (keptOnly && voided.contains(item.line)) continue;
      if (!found || item.taxLetter < lowest) lowest = item.taxLetter, found = true;
    }
    if (found) break;
  }
  for (const AdjustmentLine& adjustment : receipt.adjustments) {
    const std::string& letter = adjustment.taxLetter.empty() ? lowest : adjustment.taxLetter;
    turnover[letter] += adjustment.surcharge ? adjustment.sum : -adjustment.sum;
  }
  return turnover;
}

void AddSale(ShiftFigures& sums, const DocumentRecord& receipt, bool isReturn) {
  const auto figure = [isReturn](ShiftFigure sale, ShiftFigure back) {
    return isReturn ? back : sale;
  };
  ++sums[{figure(ShiftFigure::kSaleReceipts, ShiftFigure::kReturnReceipts), "", 0}];
  for (const PaymentLine& payment : receipt.payments)
    sums[{figure(ShiftFigure::kSalesPayments, ShiftFigure::kReturnsPayments), "", payment.form}] +=
        payment.sum - payment.change;
  for (const auto& [letter, sum] : Turnover(receipt))
    sums[{figure(ShiftFigure::kSalesTurnover, ShiftFigure::kReturnsTurnover), letter, 0}] += sum;
  for (const TaxLine& tax : receipt.taxes) {
    sums[{figure(ShiftFigure::kSalesTax, ShiftFigure::kReturnsTax), tax.letter, 0}] += tax.tax;
    sums[{figure(ShiftFigure::kSalesDuty, ShiftFigure::kReturnsDuty), tax.letter, 0}] += tax.duty;
  }
}

}  // namespace

std::string_view ShiftFigureName(ShiftFigure figure) {
  switch (figure) {
    case ShiftFigure::kSaleReceipts: return "sale receipts";
    case ShiftFigure::kReturnReceipts: return "return receipts";
    case ShiftFigure::kSalesPayments: return "sales payments";
    case ShiftFigure::kReturnsPayments: return "returns payments";
    case ShiftFigure::kSalesTurnover: return "sales turnover";
    case ShiftFigure::kReturnsTurnover: return "returns turnover";
    case ShiftFigure::kSalesTax: return "sales tax";
    case ShiftFigure::kReturnsTax: return "returns tax";
    case ShiftFigure::kSalesDuty: return "sales duty";
    case ShiftFigure::kReturnsDuty: return "returns duty";
    case ShiftFigure::kCashIn: return "cash in";
    case ShiftFigure::kCashOut: return "cash out";
  }
  return "figure";
}

bool IsMoney(ShiftFigure figure) {
  return figure != ShiftFigure::kSaleReceipts && figure != ShiftFigure::kReturnReceipts;
}

bool ByTaxLetter(ShiftFigure figure) {
  return figure >= ShiftFigure::kSalesTurnover && figure <= ShiftFigure::kReturnsDuty;
}

bool ByPaymentForm(ShiftFigure figure) {
  return IsMoney(figure) && !ByTaxLetter(figure);
}

void AddToShift(ShiftFigures& sums, const DocumentRecord& document) {
  switch (document.kind) {
    case DocumentKind::kReceipt: AddSale(sums, document, false); break;
    case DocumentKind::kReturn: AddSale(sums, document, true); break;
    case DocumentKind::kService: break;
    case DocumentKind::kCancelled:
    case DocumentKind::kZReport: return;
  }
  for (const CashLine& cash : document.cash)
    sums[{cash.out ? ShiftFigure::kCashOut : ShiftFigure::kCashIn, "", cash.form}] += cash.sum;
}

ShiftFigures ZReportFigures(const DocumentRecord& z) {
  ShiftFigures figures;
  figures[{ShiftFigure::kSaleReceipts, "", 0}] = z.salesCount;
  figures[{ShiftFigure::kReturnReceipts, "", 0}] = z.returnsCount;
  for (const ZPaymentTotal& payment : z.zPayments) {
    figures[{ShiftFigure::kSalesPayments, "", payment.form}] += payment.sales;
    figures[{ShiftFigure::kReturnsPayments, "", payment.form}] += payment.returns;
  }
  for (const ZTaxTotal& tax : z.zTaxes) {
    figures[{ShiftFigure::kSalesTurnover, tax.letter, 0}] += tax.sales;
    figures[{ShiftFigure::kReturnsTurnover, tax.letter, 0}] += tax.returns;
    figures[{ShiftFigure::kSalesTax, tax.letter, 0}] += tax.salesTax;
    figures[{ShiftFigure::kReturnsTax, tax.letter, 0}] += tax.returnsTax;
    figures[{ShiftFigure::kSalesDuty, tax.letter, 0}] += tax.salesDuty;
    figures[{ShiftFigure::kReturnsDuty, tax.letter, 0}] += tax.returnsDuty;
  }
  for (const ZCashTotal& cash : z.zCash) {
    figures[{ShiftFigure::kCashIn, "", cash.form}] += cash.in;
    figures[{ShiftFigure::kCashOut, "", cash.form}] += cash.out;
  }
  return figures;
}

std::vector<ShiftDifference> Differences(const ShiftFigures& zReport,
                                         const ShiftFigures& receipts) {
  std::vector<ShiftDifference> differences;
  // Both maps are ordered by key: walk them side by side.
  auto z = zReport.begin();
  auto r = receipts.begin();
  while (z != zReport.end() || r != receipts.end()) {
    ShiftDifference d;
    if (r == receipts.end() || (z != zReport.end() && z->first < r->first)) {
      d = {z->first, z->second, 0};
      ++z;
    } else if (z == zReport.end() || r->first < z->first) {
      d = {r->first, 0, r->second};
      ++r;
    } else {
      d = {z->first, z->second, r->second};
      ++z, ++r;
    }
    if (d.zReport != d.receipts) differences.push_back(std::move(d));
  }
  return differences;
}

}  // namespace morvek
