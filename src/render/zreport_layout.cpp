// The Z-report as the register prints it: number, payment forms, cash in and out, tax and turnover
// for sales and returns, receipt counts, rates, date.
#include "codec/cp1251.h"
#include "journal/entry.h"
#include "platform/numbers.h"
#include "render/captions.h"
#include "render/renderer.h"
#include "render/text_concat.h"
#include "render/text_ops.h"

namespace morvek {

namespace {

constexpr std::string_view kZeroTotals = "                    0.00      0.00";

// A caption with two amounts, ending in the first and the second amount column.
std::string TwoColumns(std::string_view caption, std::string_view first, std::string_view second) {
  return PlaceRight(PlaceRight(caption, first, kFirstAmountColumn), second, kAmountColumn);
}

void AddPaymentForms(ListBox& list, const zvit& z) {
  list.Add(std::string("  ------      Повернення    Продаж"_cp));
  float returns = 0, sales = 0;
  for (int j = 0; j < z.pay_key; ++j) {
    const vid_pay& p = Entry(z.pays, j);
    const auto r = static_cast<float>(p.smo * 0.01), s = static_cast<float>(p.smi * 0.01);
    returns += r;
    sales += s;
    list.Add(TwoColumns("  " + p.nm, FloatToFixed(r, 2), FloatToFixed(s, 2)));
  }
  list.Add(TwoColumns("  ВСЬОГО           "_cp, FloatToFixed(returns, 2), FloatToFixed(sales, 2)));
}

void AddCashInOut(ListBox& list, const zvit& z) {
  list.Add(std::string("  ------         Видача     Внесок"_cp));
  for (int j = 0; j < z.rotate_key; ++j) {
    const vid_rotate& r = Entry(z.rotates, j);
    list.Add(TwoColumns("  " + r.nm, Money(r.smo), Money(r.smi)));
    list.Add(PlaceRight("  Готівка в касі                     "_cp, Money(r.smt), kAmountColumn));
  }
}

// The receipt counts written one after the other, or "0".
std::string Counts(const zvit& z, bool sales) {
  if (!z.has_counts) return "0";
  std::string text;
  for (int j = 0; j < z.count_key; ++j) {
    const count_check& n = Entry(z.counts, j);
    text += std::to_string(WholeOf(sales ? n.ni : n.no));
  }
  return text;
}

void AddTaxAndTurnover(ListBox& list, const zvit& z) {
  list.Add(std::string("  ------        Податок       Обіг"_cp));
  if (z.has_taxes) {
    for (int j = 0; j < z.tax_key; ++j) {
      const vid_tax& x = Entry(z.taxes, j);
      const int g = WholeOf(x.tx);
      int h = g;
      if (x.dti != 0) {
        list.Add(TwoColumns("  ДОД. "_cp + TaxLetter(g), Money(x.dti),
                            Money(static_cast<double>(x.smi) - x.txi)));
        h = g + 1;
      }
      list.Add(TwoColumns("  ДОД. "_cp + TaxLetter(h), Money(x.txi), Money(x.smi)));
    }
  } else {
    list.Add(std::string(kZeroTotals));
  }
  list.Add("  Чеків продажу "_cp + Counts(z, true));
  if (z.has_taxes) {
    for (int j = 0; j < z.tax_key; ++j) {
      const vid_tax& x = Entry(z.taxes, j);
      list.Add(TwoColumns("  ВІД. "_cp + TaxLetter(WholeOf(x.tx)), Money(x.dto), Money(x.smo)));
    }
  } else {
    list.Add(std::string(kZeroTotals));
  }
  list.Add("  Чеків повернення "_cp + Counts(z, false));
  constexpr std::string_view kTaxFrom = "  Податок     від "_cp;
  if (z.has_taxes)
    list.Add(PlaceRight(kTaxFrom, FormatStamp(Entry(z.taxes, 0).ts, false), kAmountColumn));
  else
    list.Add(std::string(kTaxFrom));
}

void AddRates(ListBox& list, const zvit& z) {
  for (int j = 0; j < z.tax_key; ++j) {
    const vid_tax& x = Entry(z.taxes, j);
    const int g = WholeOf(x.tx);
    int h = g;
    if (x.dtpr != 0) {
      list.Add(PlaceRight("    Акцизний збір"_cp + " (Вк2) "_cp + TaxLetter(g) + " = ",
                          Rate(x.dtpr) + "%", kAmountColumn));
      h = g + 1;
    }
    list.Add(PlaceRight("            ПДВ_"_cp + TaxLetter(h) + " (Вкл) "_cp + TaxLetter(h) + " = ",
                        Rate(x.txpr) + "%", kAmountColumn));
  }
}

}  // namespace

void Renderer::RenderZReport(ListBox& list, int position, int walkIndex) {
  const dat& document = Entry(rq_.dats, position);
  const zvit& z = Entry(document.zvits, 0);
  AddHeader(list, document);

  // The number is recorded under the walk index unless it already stands under key 0.
  const int number = WholeOf(z.no);
  if (tables_.zNumberByPosition.FindKeyByValue(number) != 0) {
    tables_.zNumberByPosition.Set(walkIndex, number);
    tables_.shownZNumbers.Set(number, 1);
  }
  list.Add("           Z-звіт N "_cp + std::to_string(number));
  list.Add(std::string("              ЗАГАЛОМ"_cp));

  if (z.has_pays) AddPaymentForms(list, z);
  if (z.has_rotates) AddCashInOut(list, z);
  AddTaxAndTurnover(list, z);
  if (z.has_taxes) AddRates(list, z);

  list.Add(PlaceRight("        ", FormatStamp(document.ts.value, true), kAmountColumn));
  list.Add(std::string(kFiscalReceipt));
  list.Add(std::string(kSeparator));
  list.Add(std::string(kSeparator));
}

}  // namespace morvek
