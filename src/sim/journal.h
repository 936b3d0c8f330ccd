#pragma once
// The documents a simulated register serves: the journal text held once, each document a slice of
// it (a DAT element and the MAC after it), found by its receipt number (E NO) or Z-report number
// (Z NO), with its time stamp (TS) for requests by date.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvek::sim {

enum class DocumentKind { kReceipt, kZReport };

struct JournalDocument {
  std::size_t begin = 0;  // offset of "<DAT" in the journal text
  std::size_t end = 0;    // just past the MAC element
  DocumentKind kind = DocumentKind::kReceipt;
  int number = 0;
  std::int64_t stamp = 0;  // yyyymmddhhmmss from TS; 0 when the document has none
};

class Journal {
 public:
  // Reads a journal such as the tool's temp.xml. Documents without a receipt or Z-report number
  // are kept out of the lookups. Raises std::runtime_error on a DAT without its closing tag.
  static Journal FromText(std::string text);

  std::size_t size() const { return documents_.size(); }
  const JournalDocument& document(std::size_t index) const { return documents_[index]; }
  std::string_view Text(const JournalDocument& document) const {
    return std::string_view(text_).substr(document.begin, document.end - document.begin);
  }
  const std::string& text() const { return text_; }

  // The document of a number, or nothing.
  const JournalDocument* Find(DocumentKind kind, int number) const;
  // The documents of a kind whose numbers lie from first to last, in number order.
  std::vector<const JournalDocument*> Range(DocumentKind kind, int first, int last) const;
  // The first and the last receipt number stamped from first to last (yyyymmddhhmmss, both
  // inclusive), or nothing when no receipt falls in the interval.
  std::optional<std::pair<int, int>> ReceiptsStamped(std::int64_t first, std::int64_t last) const;

 private:
  using Index = std::vector<std::pair<int, std::uint32_t>>;  // number, document index; sorted
  const Index& IndexOf(DocumentKind kind) const {
    return kind == DocumentKind::kReceipt ? receipts_ : zReports_;
  }

  std::string text_;
  std::vector<JournalDocument> documents_;
  Index receipts_, zReports_;
};

}  // namespace morvek::sim
