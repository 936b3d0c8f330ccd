#include "journal/loader.h"

#include "codec/cp1251.h"
#include "platform/numbers.h"

namespace morvek {

namespace {

float Number(const XmlValue& value) {
  return StrToFloat(value.Text());
}

std::string Text(const XmlValue& value) {
  return value.Text();
}

int Whole(float value) {
  return TruncToInt(value);
}

}  // namespace

void Loader::LoadJournal(const XmlNode& root) {
  ReadRoot(root);
  WalkNodes(root.FirstChild());
}

void Loader::ReadRoot(const XmlNode& root) {
  ReadAttributes(root.FirstAttribute());
}

void Loader::WalkNodes(XmlNode node) {
  for (; node; node = node.Next()) WalkNode(node);
}

void Loader::WalkNode(const XmlNode& node) {
  const std::string name = node.Name();
  if (name != "#text") {
    // The element entered last is closed before a MAC moves on to the next document, so its
    // counter step stays with the document it belongs to.
    AdvanceCounters();
    if (name == "MAC") ++rq_.doc_index;
    control_.EnterElement(name);
  }
  if (node.IsTextElement()) {
    switch (control_.element) {
      case kMAC: StoreValue(2, node.Text()); break;
      case kTS: StoreValue(0, node.Text()); break;
      case kL:
      case kH: StoreValue(1, node.Text()); break;
      default: break;
    }
  }
  ReadAttributes(node.FirstAttribute());
  if (node.HasChildNodes()) WalkNodes(node.FirstChild());  // depth is bounded by the parser
}

void Loader::ReadAttributes(XmlAttribute attribute) {
  for (; attribute; attribute = attribute.Next())
    StoreValue(control_.dictionary.AttributeCode(control_.element, attribute.Name()),
               attribute.Value());
}

void Loader::AdvanceCounters() {
  const int element = control_.element;
  if (element >= kP && element <= kE) {
    check& c = Receipt();
    int* counters[] = {&c.sale_key,         &c.cp_sale_key, &c.discount_key, &c.surcharge_key,
                       &c.payment_key,      &c.cash_in_key, &c.cash_out_key, &c.comment_key,
                       &c.service_info_key, &c.cancel_key,  &c.end_key};
    ++*counters[element - kP];
    ++c.line_no;
  } else if (element == kTX) {
    ++Receipt().end.tax_key;
  } else if (element >= kTXS && element <= kNC) {
    zvit& z = ZReport();
    int* counters[] = {&z.tax_key, &z.pay_key, &z.rotate_key, &z.count_key};
    ++*counters[element - kTXS];
  }
}

void Loader::StoreValue(int code, const XmlValue& value) {
  const int element = control_.element;
  switch (element) {
    case kRQ:
      if (code == 0) rq_.v = Number(value);
      return;
    case kDAT: {
      dat& d = Document();
      switch (code) {
        case 0: d.fn = Text(value); return;
        case 1: d.tn = Text(value); return;
        case 2: d.zn = Text(value); return;
        case 3: d.di = Number(value); return;
        case 4: d.dt = Number(value); return;
        case 5: d.v = Number(value); return;
      }
      return;
    }
    case kMAC: {
      mac& m = rq_.macs[rq_.doc_index];
      if (code == 0) m.di = Number(value);
      if (code == 1) m.nt = Number(value);
      return;
    }
    case kC: {
      check& c = Receipt();
      if (code == 0) {
        c.t = Number(value);
        Document().is_receipt = true;
      } else if (code == 1) {
        c.cn = StrToIntDef(Utf8ToCp1251(value.Utf8()), 0);
      } else if (code == 2) {
        try {
          c.on = Text(value);
        } catch (...) {
          c.on = "       ";
        }
      }
      return;
    }
    case kZ:
      if (code == 0) {
        zvit& z = ZReport();
        z.no = Number(value);
        rq_.NoteZNumber(Whole(z.no));
        Document().is_receipt = false;
      }
      return;
    case kTS:
      if (code == 0) Document().ts.value = Text(value);
      return;
    case kTXS:
    case kZ_M:
    case kIO:
    case kNC: StoreZReportTotal(code, value); return;
    case kTX: {
      sale_end& end = Receipt().end;
      end.has_taxes = true;
      morvek::tx& t = end.taxes[end.tax_key];
      switch (code) {
        case 0: t.tx = Text(value); return;
        case 1: t.txpr = Number(value); return;
        case 2: t.txsm = Number(value); return;
        case 3: t.dtpr = Number(value); return;
        case 4: t.dtsm = Number(value); return;
        case 5: t.txty = Number(value); return;
        case 6: t.txal = Number(value); return;
      }
      return;
    }
    default:
      if (element >= kP && element <= kE) StoreReceiptLine(code, value);
      return;
  }
}

void Loader::StoreReceiptLine(int code, const XmlValue& value) {
  const int element = control_.element;
  check& c = Receipt();
  // Stores N and places the line in the receipt's line order.
  const auto place = [&](float& n, int kind, int key) {
    n = Number(value);
    c.PlaceLine(c.line_no, kind, key);
  };
  switch (element) {
    case kP:
    case kCP: {
      const int key = element == kP ? c.sale_key : c.cp_sale_key;
      sale& s = element == kP ? c.sales[key] : c.cp_sales[key];
      switch (code) {
        case 0: place(s.n, element == kP ? kLineP : kLineCP, key); return;
        case 1: s.c = Text(value); return;
        case 2: s.cd = Text(value); return;
        case 3: s.nm = Text(value); return;
        case 4: s.sm = Number(value); return;
        case 5: s.q = Number(value); return;
        case 6: s.prc = Number(value); return;
        case 7: s.tx = Text(value); return;
      }
      return;
    }
    case kD:
    case kS: {
      const int key = element == kD ? c.discount_key : c.surcharge_key;
      sale_up_down& s = element == kD ? c.discounts[key] : c.surcharges[key];
      switch (code) {
        case 0: s.tr = Number(value); return;
        case 1: s.ty = Number(value); return;
        case 2: s.st = Number(value); return;
        case 3: s.ni = Number(value); return;
        case 4: s.tx = Text(value); return;
        case 5: s.pr = Number(value); return;
        case 6: s.sm = Number(value); return;
        case 7: place(s.n, element == kD ? kLineD : kLineS, key); return;
      }
      return;
    }
    case kM: {
      sale_pay& p = c.payments[c.payment_key];
      switch (code) {
        case 0: place(p.n, kLineM, c.payment_key); return;
        case 1: p.t = Number(value); return;
        case 2: p.nm = Text(value); return;
        case 3: p.sm = Number(value); return;
        case 4: p.rm = Number(value); return;
        case 5: p.rrn = Text(value); return;
      }
      return;
    }
    case kI:
    case kO: {
      const int key = element == kI ? c.cash_in_key : c.cash_out_key;
      sale_in_out& s = element == kI ? c.cash_ins[key] : c.cash_outs[key];
      switch (code) {
        case 0: place(s.n, element == kI ? kLineI : kLineO, key); return;
        case 1: s.t = Number(value); return;
        case 2: s.nm = Text(value); return;
        case 3: s.sm = Number(value); return;
      }
      return;
    }
    case kL: {
      sale_comment& l = c.comments[c.comment_key];
      if (code == 0) place(l.n, kLineL, c.comment_key);
      if (code == 1) l.text = Text(value);
      return;
    }
    case kH: {
      sale_serv_info& h = c.service_infos[c.service_info_key];
      switch (code) {
        case 0: place(h.n, kLineH, c.service_info_key); return;
        case 1: h.text = Text(value); return;
        case 2: h.hp = Text(value); return;
        case 3: h.ht = Text(value); return;
      }
      return;
    }
    case kVD:
      if (code == 0) place(c.cancel.n, kLineVD, c.cancel_key);
      if (code == 1) c.cancel.ni = Number(value);
      return;
    case kE: {
      sale_end& e = c.end;
      switch (code) {
        case 0: place(e.n, kLineE, c.end_key); return;
        case 1:
          e.no = Number(value);
          rq_.NoteCheckNumber(Whole(e.no));
          return;
        case 2: e.sm = Number(value); return;
        case 3: e.se = Number(value); return;
        case 4: e.tx = Text(value); return;
        case 5: e.txpr = Number(value); return;
        case 6: e.txsm = Number(value); return;
        case 7: e.dtpr = Number(value); return;
        case 8: e.dtsm = Number(value); return;
        case 9: e.txty = Number(value); return;
        case 10: e.txal = Number(value); return;
        case 11: e.cs = Number(value); return;
        case 12: e.vd = Number(value); return;
        case 13: e.ts = Text(value); return;
        case 14: e.fn = Text(value); return;
      }
      return;
    }
  }
}

void Loader::StoreZReportTotal(int code, const XmlValue& value) {
  zvit& z = ZReport();
  switch (control_.element) {
    case kTXS: {
      z.has_taxes = true;
      vid_tax& x = z.taxes[z.tax_key];
      switch (code) {
        case 0: x.tx = Text(value); return;
        case 1: x.ts = Text(value); return;
        case 2: x.txpr = Number(value); return;
        case 3: x.txi = Number(value); return;
        case 4: x.txo = Number(value); return;
        case 5: x.dtpr = Number(value); return;
        case 6: x.dti = Number(value); return;
        case 7: x.dto = Number(value); return;
        case 8: x.txty = Number(value); return;
        case 9: x.txal = Number(value); return;
        case 10: x.smi = Number(value); return;
        case 11: x.smo = Number(value); return;
      }
      return;
    }
    case kZ_M: {
      z.has_pays = true;
      vid_pay& p = z.pays[z.pay_key];
      switch (code) {
        case 0: p.t = Number(value); return;
        case 1: p.nm = Text(value); return;
        case 2: p.smi = Number(value); return;
        case 3: p.smo = Number(value); return;
      }
      return;
    }
    case kIO: {
      z.has_rotates = true;
      vid_rotate& r = z.rotates[z.rotate_key];
      switch (code) {
        case 0: r.t = Number(value); return;
        case 1: r.nm = Text(value); return;
        case 2: r.smi = Number(value); return;
        case 3: r.smo = Number(value); return;
        case 4: r.smt = Number(value); return;
      }
      return;
    }
    case kNC: {
      z.has_counts = true;
      count_check& n = z.counts[z.count_key];
      if (code == 0) n.ni = Number(value);
      if (code == 1) n.no = Number(value);
      return;
    }
  }
}

void LoadJournalText(rq& model, control& cursor, std::string_view text) {
  Loader loader(model, cursor);
  ReadXmlStream(
      text, [&loader](const XmlNode& root) { loader.ReadRoot(root); },
      [&loader](const XmlNode& node) { loader.WalkNode(node); });
}

}  // namespace morvek
