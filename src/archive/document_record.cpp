// Reading a document's record from its XML: one walk over the DAT element's tree, taking the
// attribute texts as they are (numbers as 64-bit integers, texts as the parser decoded them into
// UTF-8).
#include "archive/document_record.h"

#include <charconv>
#include <functional>
#include <optional>

#include "archive/archive_error.h"
#include "archive/journal_slices.h"
#include "archive/storable.h"
#include "codec/errors.h"
#include "platform/xml_document.h"

namespace morvek {

namespace {

// The attributes of one element, by name.
class Attributes {
 public:
  Attributes(const XmlNode& node, const std::string& where) : where_(where) {
    for (XmlAttribute a = node.FirstAttribute(); a; a = a.Next())
      values_.emplace_back(a.Name(), a.Value().Utf8());
  }
  std::optional<std::string> Find(std::string_view name) const {
    for (const auto& [key, value] : values_)
      if (key == name) return value;
    return std::nullopt;
  }
  std::string Text(std::string_view name) const { return Find(name).value_or(""); }
  // A whole number, 0 when the attribute is missing; anything else refuses the document.
  long long Whole(std::string_view name) const {
    const std::optional<std::string> text = Find(name);
    if (!text) return 0;
    long long value = 0;
    const char* end = text->data() + text->size();
    const auto [at, error] = std::from_chars(text->data(), end, value);
    if (text->empty() || error != std::errc() || at != end)
      throw ArchiveError(where_ + ": " + std::string(name) + " is not a whole number: " + *text);
    return value;
  }
  int Small(std::string_view name) const {
    const long long value = Whole(name);
    if (value < INT32_MIN || value > INT32_MAX)
      throw ArchiveError(where_ + ": " + std::string(name) + " is out of range");
    return static_cast<int>(value);
  }

 private:
  std::string where_;
  std::vector<std::pair<std::string, std::string>> values_;
};

void ForEachElement(const XmlNode& parent, const std::function<void(const XmlNode&)>& visit) {
  for (XmlNode child = parent.FirstChild(); child; child = child.Next())
    if (child.Name().front() != '#') visit(child);
}

// "20240109082157" as "2024-01-09 08:21:57"; twelve digits have no seconds. Anything else: empty.
std::string Timestamp(std::string_view digits) {
  if (digits.size() != 12 && digits.size() != 14) return {};
  for (const char c : digits)
    if (c < '0' || c > '9') return {};
  std::string text = std::string(digits.substr(0, 4)) + '-' + std::string(digits.substr(4, 2)) +
                     '-' + std::string(digits.substr(6, 2)) + ' ' +
                     std::string(digits.substr(8, 2)) + ':' + std::string(digits.substr(10, 2)) +
                     ':';
  text += digits.size() == 14 ? digits.substr(12, 2) : "00";
  return text;
}

std::string ElementText(const XmlNode& node) {
  return node.IsTextElement() ? std::string(node.Text().Utf8()) : std::string();
}

void ReadEnd(const XmlNode& e, const std::string& where, DocumentRecord& record) {
  const Attributes a(e, where + " E");
  record.number = a.Whole("NO");
  record.total = a.Whole("SM");
  if (a.Whole("VD") != 0) record.kind = DocumentKind::kCancelled;
  bool taxElements = false;
  ForEachElement(e, [&](const XmlNode& tx) {
    if (tx.Name() != "TX") return;
    taxElements = true;
    const Attributes t(tx, where + " TX");
    record.taxes.push_back({t.Text("TX"), t.Text("TXPR"), t.Whole("TXSM"), t.Whole("DTSM")});
  });
  if (!taxElements && a.Find("TX"))
    record.taxes.push_back({a.Text("TX"), a.Text("TXPR"), a.Whole("TXSM"), a.Whole("DTSM")});
}

void ReadReceipt(const XmlNode& c, const std::string& where, DocumentRecord& record) {
  const Attributes a(c, where + " C");
  const long long type = a.Whole("T");
  record.kind = type == 1   ? DocumentKind::kReturn
                : type == 2 ? DocumentKind::kService
                            : DocumentKind::kReceipt;
  record.desk = a.Small("CN");
  record.operatorName = a.Text("ON");
  bool ended = false;
  ForEachElement(c, [&](const XmlNode& line) {
    const std::string name = line.Name();
    const Attributes l(line, where + " " + name);
    if (name == "P" || name == "CP") {
      record.items.push_back({l.Small("N"), name == "CP", l.Text("C"), l.Text("NM"), l.Text("TX"),
                              l.Whole("SM"), l.Whole("Q"), l.Whole("PRC")});
    } else if (name == "D" || name == "S") {
      record.adjustments.push_back({l.Small("N"), name == "S", l.Text("TX"), l.Whole("SM")});
    } else if (name == "M") {
      record.payments.push_back(
          {l.Small("N"), l.Small("T"), l.Text("NM"), l.Text("RRN"), l.Whole("SM"), l.Whole("RM")});
    } else if (name == "I" || name == "O") {
      record.cash.push_back({l.Small("N"), name == "O", l.Small("T"), l.Text("NM"), l.Whole("SM")});
    } else if (name == "L" || name == "H") {
      record.texts.push_back({l.Small("N"), ElementText(line)});
    } else if (name == "VD") {
      record.voids.push_back({l.Small("N"), l.Small("NI")});
    } else if (name == "E") {
      ended = true;
      ReadEnd(line, where, record);
    }
  });
  if (!ended) throw ArchiveError(where + ": a receipt without its end record");
}

void ReadZReport(const XmlNode& z, const std::string& where, DocumentRecord& record) {
  record.kind = DocumentKind::kZReport;
  const Attributes a(z, where + " Z");
  if (!a.Find("NO")) throw ArchiveError(where + ": a Z-report without its number");
  record.number = a.Whole("NO");
  ForEachElement(z, [&](const XmlNode& total) {
    const std::string name = total.Name();
    const Attributes t(total, where + " Z " + name);
    if (name == "TXS") {
      record.zTaxes.push_back({t.Text("TX"), t.Text("TXPR"), t.Whole("SMI"), t.Whole("SMO"),
                               t.Whole("TXI"), t.Whole("TXO"), t.Whole("DTI"), t.Whole("DTO")});
      record.total += record.zTaxes.back().sales;
    } else if (name == "M") {
      record.zPayments.push_back({t.Small("T"), t.Text("NM"), t.Whole("SMI"), t.Whole("SMO")});
    } else if (name == "IO") {
      record.zCash.push_back(
          {t.Small("T"), t.Text("NM"), t.Whole("SMI"), t.Whole("SMO"), t.Whole("SMT")});
    } else if (name == "NC") {
      record.salesCount += t.Whole("NI");
      record.returnsCount += t.Whole("NO");
    }
  });
}

// The record of a DAT element; its bytes are set by the caller.
DocumentRecord ReadDat(const XmlNode& dat) {
  DocumentRecord record;
  const Attributes a(dat, "a document");
  if (!a.Find("DI")) throw ArchiveError("a document without DI");
  record.di = a.Whole("DI");
  const std::string where = "document DI " + std::to_string(record.di);
  record.fiscalNumber = a.Text("FN");
  record.taxNumber = a.Text("TN");
  record.serialNumber = a.Text("ZN");
  int bodies = 0;
  ForEachElement(dat, [&](const XmlNode& child) {
    const std::string name = child.Name();
    if (name == "C" || name == "Z") {
      if (++bodies > 1) throw ArchiveError(where + ": more than one receipt or Z-report");
      name == "C" ? ReadReceipt(child, where, record) : ReadZReport(child, where, record);
    } else if (name == "TS") {
      record.timestamp = Timestamp(ElementText(child));
    }
  });
  if (bodies == 0) throw ArchiveError(where + ": neither a receipt nor a Z-report");
  return record;
}

}  // namespace

std::string_view KindName(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::kReceipt: return "receipt";
    case DocumentKind::kReturn: return "return";
    case DocumentKind::kService: return "service";
    case DocumentKind::kCancelled: return "cancelled";
    case DocumentKind::kZReport: return "z";
  }
  return "receipt";
}

std::optional<DocumentKind> KindNamed(std::string_view name) {
  for (const DocumentKind kind :
       {DocumentKind::kReceipt, DocumentKind::kReturn, DocumentKind::kService,
        DocumentKind::kCancelled, DocumentKind::kZReport})
    if (KindName(kind) == name) return kind;
  return std::nullopt;
}

void ReadDocuments(std::string_view journal, const std::function<void(DocumentRecord&&)>& take) {
  const std::vector<std::string_view> slices = SliceJournal(journal);
  std::size_t read = 0;
  try {
    ReadXmlChildren(
        journal, [](const XmlNode&) {},
        [&](const XmlNode& child) {
          if (child.Name() != "DAT") return;
          if (read == slices.size()) throw ArchiveError("not a journal: a stray DAT");
          DocumentRecord record = ReadDat(child);
          record.xml = slices[read++];
          take(std::move(record));
        });
  } catch (const XmlError& error) {
    throw ArchiveError(std::string("not a journal: ") + error.what());
  }
}

std::vector<DocumentRecord> ReadDocuments(std::string_view journal) {
  std::vector<DocumentRecord> records;
  // What was read before an error is thrown away with the vector.
  ReadDocuments(journal,
                [&records](DocumentRecord&& record) { records.push_back(std::move(record)); });
  return records;
}

DocumentRecord ReadDocument(std::string_view xml) {
  std::string journal = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  journal += xml;
  journal += "\r\n</RQ>\r\n";
  std::vector<DocumentRecord> records = ReadDocuments(journal);
  if (records.size() != 1) throw ArchiveError("not one document");
  RequireStorable(records.front());
  return std::move(records.front());
}

}  // namespace morvek
