// The receipt as the register prints it: header, lines in document order, totals, payments, footer.
#include "codec/base64.h"
#include "codec/cp1251.h"
#include "journal/entry.h"
#include "platform/numbers.h"
#include "render/captions.h"
#include "render/renderer.h"
#include "render/text_concat.h"
#include "render/text_ops.h"

namespace morvek {

namespace {

std::string Quantity(float q, int decimals) {
  return FloatToFixed(q * 0.001, decimals);
}

void AddGoods(ListBox& list, const sale& s, bool wrapName, int quantityDecimals) {
  const std::string v = Money(s.sm) + " " + std::string(TaxLetter(WholeOf(s.tx)));
  std::string_view name = s.nm;
  while (wrapName && name.size() > 34) {
    list.Add("  " + name.substr(0, 34));
    name = name.substr(34);
  }
  if (s.q != 0) {
    list.Add("  " + name);
    list.Add("  " + PlaceRight(Quantity(s.q, quantityDecimals) + ". X " + Money(s.prc) + " =", v,
                               kAmountColumn));
  } else {
    list.Add("  " + PlaceRight(name + "       ", v, kAmountColumn));
  }
}

void AddDiscount(ListBox& list, const sale_up_down& d) {
  std::string x = "  Знижка -"_cp + Rate(d.pr);
  if (WholeOf(d.ty) == 1)
    x += "%";
  else
    x = "  Знижка "_cp;
  const int base = WholeOf(d.tr);
  if (base == 1) x += " на Суму"_cp;
  if (base == 2) x += " на Податок"_cp;
  const int group = d.tx.empty() ? 6 : WholeOf(d.tx);
  list.Add("  " + PlaceRight(x, "-" + Money(d.sm) + " " + TaxLetter(group), kAmountColumn));
}

void AddSurcharge(ListBox& list, const sale_up_down& s) {
  std::string x = "  Надбавка "_cp + Rate(s.pr);
  if (WholeOf(s.ty) == 1) x += "%";
  list.Add("  " + PlaceRight(x, Money(s.sm) + " " + TaxLetter(WholeOf(s.tx)), kAmountColumn));
}

// "ПДВ_A A =20.00%        " with the amount in the amount column.
std::string TaxLine(std::string_view caption, float rate, float amount) {
  return PlaceRight(PlaceRight(caption, Rate(rate) + "%        ", kRateColumn), Money(amount),
                    kAmountColumn);
}

std::string VatCaption(std::string_view letter) {
  return "       ПДВ_"_cp + letter + " " + letter + " = ";
}

// The totals of one end record; true when the receipt is cancelled.
bool AddTotals(ListBox& list, const check& c) {
  const sale_end& end = c.end;
  if (end.vd == 1) {
    list.Add(std::string("       * ЧЕК АНУЛЬОВАНО *"_cp));
    return true;
  }
  if (c.t == 2) return false;
  list.Add(std::string(kSeparator));
  list.Add(PlaceRight("  Сума"_cp + std::string(15, ' '), Money(end.sm), kAmountColumn));
  if (end.has_taxes) {
    for (int j = 0; j < end.tax_key; ++j) {
      const tx& r = Entry(end.taxes, j);
      const std::string_view a = TaxLetter(WholeOf(r.tx));
      list.Add(TaxLine(VatCaption(a), r.txpr, r.txsm));
    }
    list.Add(std::string(kSeparator));
    return false;
  }
  const std::string_view a = TaxLetter(WholeOf(end.tx));
  if (end.txal != 0) {
    list.Add(TaxLine(VatCaption(a), end.dtpr, end.dtsm));
    list.Add(TaxLine("  Акцз. збір Д = "_cp, end.txpr, end.txsm));
  } else {
    list.Add(TaxLine(VatCaption(a), end.txpr, end.txsm));
  }
  list.Add(std::string(kSeparator));
  list.Add(std::string(kSeparator));
  return false;
}

void AddPayment(ListBox& list, const sale_pay& p) {
  list.Add(PlaceRight("  " + p.nm + "      ", Money(p.sm), kAmountColumn));
  if (p.nm == "КРЕДИТ"_cp) {
    list.Add(std::string("  Транзакція N"_cp));
    list.Add("  " + p.rrn);
  }
  if (p.rm != 0) list.Add(PlaceRight("  Решта"_cp, "-" + Money(p.rm), kAmountColumn));
}

}  // namespace

void Renderer::AddHeader(ListBox& list, const dat& document) {
  list.Add(std::string(kCompany));
  list.Add(std::string(kCity));
  const dat* first = Find(0);
  list.Add(kFactoryNumber + document.zn + kFiscalNumber + (first ? first->fn : std::string()));
}

void Renderer::RenderReceipt(ListBox& list, int position, Layout layout) {
  const bool full = layout == Layout::Receipt;
  const dat& document = Entry(rq_.dats, position);
  const check& c = Entry(document.checks, 0);
  AddHeader(list, document);

  const int desk = WholeOf(c.end.cs);
  const std::string deskNumber = std::to_string(desk);
  if (full)
    list.Add("         " + c.on + (desk > 9 ? " Каса"_cp : " Каса0"_cp) + deskNumber);
  else
    list.Add((desk > 9 ? "            Каса"_cp : "            Каса0"_cp) + deskNumber);
  list.Add(std::string(kSeparator));
  if (c.t == 1) {
    list.Add(std::string("               ПОВЕРНЕННЯ"_cp));
    list.Add(std::string(kSeparator));
  }

  const int lines = c.LineCount();
  const auto lineAt = [&](int k) {
    const auto it = c.line_order.find(k);
    return it == c.line_order.end() ? std::pair<int, int>{kLineNone, 0} : it->second;
  };
  for (int k = 1; k <= lines; ++k) {
    const auto [kind, key] = lineAt(k);
    switch (kind) {
      case kLineP: AddGoods(list, Entry(c.sales, key), true, full ? 3 : 0); break;
      case kLineCP: AddGoods(list, Entry(c.cp_sales, key), false, 0); break;
      case kLineD: AddDiscount(list, Entry(c.discounts, key)); break;
      case kLineS: AddSurcharge(list, Entry(c.surcharges, key)); break;
      case kLineI:
        list.Add(PlaceRight("  Внесок"_cp, Money(Entry(c.cash_ins, key).sm), kAmountColumn));
        break;
      case kLineO:
        list.Add(PlaceRight("  Видача"_cp, "-" + Money(Entry(c.cash_outs, key).sm), kAmountColumn));
        break;
      case kLineL: list.Add("  " + Entry(c.comments, key).text); break;
      case kLineH: {
        const sale_serv_info& h = Entry(c.service_infos, key);
        if (!full)
          list.Add("  " + h.text);
        else
          list.Add("  " + h.ht + " " + (h.ht == "BarBitLine" ? h.text : Base64Decode(h.text)));
        break;
      }
      default: break;
    }
  }

  bool cancelled = false;
  if (full) {
    for (int k = 1; k <= lines; ++k)
      if (lineAt(k).first == kLineE && AddTotals(list, c)) cancelled = true;
    for (int k = 1; k <= lines; ++k) {
      const auto [kind, key] = lineAt(k);
      if (kind == kLineM) AddPayment(list, Entry(c.payments, key));
    }
  }

  const std::string number =
      PlaceRight(kNumberField, std::to_string(WholeOf(c.end.no)), kNumberColumn);
  list.Add(PlaceRight(number + "        ", FormatStamp(document.ts.value, true), kAmountColumn));
  switch (WholeOf(c.t)) {
    case 0:
      if (!cancelled) list.Add(std::string(kFiscalReceipt));
      break;
    case 1: list.Add(std::string("         ВИДАТКОВИЙ ЧЕК"_cp)); break;
    case 2: list.Add(std::string("         СЛУЖБОВИЙ ЧЕК"_cp)); break;
    default: break;
  }
  list.Add(std::string(kSeparator));
  list.Add(std::string(kSeparator));
}

}  // namespace morvek
