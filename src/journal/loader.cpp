#include "journal/loader.h"

#include <cstddef>

#include "codec/cp1251.h"
#include "journal/record_fields.h"
#include "platform/numbers.h"

namespace morvek {

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Digits read as they stand: the same in UTF-8 and Windows-1251.
float Number(const XmlValue& value) {
  const std::string_view utf8 = value.Utf8();
  return IsAscii(utf8) ? StrToFloat(utf8) : StrToFloat(value.Text());
}

std::string Text(const XmlValue& value) {
  return value.Text();
}

int Whole(float value) {
  return TruncToInt(value);
}

// A document is whole when its MAC comes: the room its records kept for more is given back.
void Tighten(check& c) {
  c.sales.shrink_to_fit();
  c.cp_sales.shrink_to_fit();
  c.discounts.shrink_to_fit();
  c.surcharges.shrink_to_fit();
  c.payments.shrink_to_fit();
  c.cash_ins.shrink_to_fit();
  c.cash_outs.shrink_to_fit();
  c.comments.shrink_to_fit();
  c.service_infos.shrink_to_fit();
  c.line_order.shrink_to_fit();
  c.end.taxes.shrink_to_fit();
}

void Tighten(zvit& z) {
  z.taxes.shrink_to_fit();
  z.pays.shrink_to_fit();
  z.rotates.shrink_to_fit();
  z.counts.shrink_to_fit();
}

void Tighten(KeyedRecords<dat>& documents, int position) {
  const auto it = documents.find(position);
  if (it == documents.end()) return;
  for (auto& [key, c] : it->second.checks) Tighten(c);
  for (auto& [key, z] : it->second.zvits) Tighten(z);
}

// Stores the value in the member its code names in FIELDS and returns that field; a code past the
// list stores nothing and gives nullptr.
template <class Record, std::size_t N>
const Field<Record>* Store(const Field<Record> (&fields)[N], int code, Record& record,
                           const XmlValue& value) {
  if (code < 0 || code >= static_cast<int>(N)) return nullptr;
  const Field<Record>& field = fields[code];
  if (field.kind == FieldKind::kText)
    record.*field.text = Text(value);
  else
    record.*field.number = Number(value);
  return &field;
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
    if (name == "MAC") Tighten(rq_.dats, rq_.doc_index++);
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
      Store(kTaxFields, code, end.taxes[end.tax_key], value);
      return;
    }
    default:
      if (element >= kP && element <= kE) StoreReceiptLine(code, value);
      return;
  }
}

void Loader::StoreReceiptLine(int code, const XmlValue& value) {
  check& c = Receipt();
  // A line's number also places the line, as line KIND under KEY, in the receipt's line order.
  const auto store = [&](const auto& fields, auto& record, int kind, int key) {
    const auto* field = Store(fields, code, record, value);
    if (field && field->kind == FieldKind::kLine) c.PlaceLine(c.line_no, kind, key);
    return field;
  };
  switch (control_.element) {
    case kP: store(kSaleFields, c.sales[c.sale_key], kLineP, c.sale_key); return;
    case kCP: store(kSaleFields, c.cp_sales[c.cp_sale_key], kLineCP, c.cp_sale_key); return;
    case kD: store(kUpDownFields, c.discounts[c.discount_key], kLineD, c.discount_key); return;
    case kS: store(kUpDownFields, c.surcharges[c.surcharge_key], kLineS, c.surcharge_key); return;
    case kM: store(kPayFields, c.payments[c.payment_key], kLineM, c.payment_key); return;
    case kI: store(kInOutFields, c.cash_ins[c.cash_in_key], kLineI, c.cash_in_key); return;
    case kO: store(kInOutFields, c.cash_outs[c.cash_out_key], kLineO, c.cash_out_key); return;
    case kL: store(kCommentFields, c.comments[c.comment_key], kLineL, c.comment_key); return;
    case kH:
      store(kServiceInfoFields, c.service_infos[c.service_info_key], kLineH, c.service_info_key);
      return;
    case kVD: store(kCancelFields, c.cancel, kLineVD, c.cancel_key); return;
    case kE: {
      // The receipt's number also widens the range of receipt numbers held.
      const auto* field = store(kEndFields, c.end, kLineE, c.end_key);
      if (field && field->number == &sale_end::no) rq_.NoteCheckNumber(Whole(c.end.no));
      return;
    }
  }
}

void Loader::StoreZReportTotal(int code, const XmlValue& value) {
  zvit& z = ZReport();
  switch (control_.element) {
    case kTXS:
      z.has_taxes = true;
      Store(kTaxTotalFields, code, z.taxes[z.tax_key], value);
      return;
    case kZ_M:
      z.has_pays = true;
      Store(kPayTotalFields, code, z.pays[z.pay_key], value);
      return;
    case kIO:
      z.has_rotates = true;
      Store(kRotateFields, code, z.rotates[z.rotate_key], value);
      return;
    case kNC:
      z.has_counts = true;
      Store(kCountFields, code, z.counts[z.count_key], value);
      return;
  }
}

namespace {

// Text is the journal's text or its XmlInput.
template <class Text>
void Load(rq& model, control& cursor, const Text& text) {
  Loader loader(model, cursor);
  const auto root = [&loader](const XmlNode& node) { loader.ReadRoot(node); };
  const auto child = [&loader](const XmlNode& node) { loader.WalkNode(node); };
  if (!model.dats.empty() || !model.macs.empty() || model.doc_index != 0) {
    // Documents already held cannot be told apart from ones a refused text would leave: the
    // text is checked whole before it is read.
    ReadXmlStream(text, root, child);
    return;
  }
  // An empty model is read in one pass and put back as it was if the text is refused.
  const rq before = model;
  const int element = cursor.element;
  ReadXmlChildrenOrUndo(text, root, child, [&] {
    model = before;
    cursor.element = element;
  });
}

}  // namespace

void LoadJournalText(rq& model, control& cursor, std::string_view text) {
  Load(model, cursor, text);
}

void LoadJournalText(rq& model, control& cursor, const XmlInput& input) {
  Load(model, cursor, input);
}

}  // namespace morvek
