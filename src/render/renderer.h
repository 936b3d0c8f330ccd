#pragma once
// Turns the loaded documents into the text image of the printed receipts and Z-reports, appended
// to a list. It reads the model without changing it, and keeps its correspondence tables (the
// retrieval window's, which persist between renderings) up to date.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "journal/document.h"
#include "platform/controls.h"
#include "render/sootv.h"

namespace morvek {

enum class Layout { Receipt, CashDocument };

// Items of the document type box.
enum DocumentType : int { kTypeZReport = 0, kTypeReceipt = 1, kTypeBoth = 2, kTypeCash = 3 };

struct DocumentTables {
  sootv positionKeys;       // position -> truncated di, rebuilt for every rendering
  sootv shownZNumbers;      // Z-report number -> 1, fetched or rendered
  sootv shownNumbers;       // document number -> 1, fetched
  sootv zNumberByPosition;  // walk index -> Z-report number
};

// A document a rendering reached: its position in the model, the list line it starts at, and
// whether it failed (its lines so far stay, its failure is in the error log).
struct RenderedDocument {
  int position = 0;
  std::size_t firstLine = 0;
  bool failed = false;
};

class Renderer {
 public:
  Renderer(const rq& model, DocumentTables& tables, std::string errorLogPath = "error.log")
      : rq_(model), tables_(tables), errorLogPath_(std::move(errorLogPath)) {}

  // Appends the loaded documents of the number range firstText..lastText (decimal texts; others
  // raise ConvertError before anything is appended) in the layout the document type asks for.
  // The range holds receipt numbers, or Z-report numbers for the Z-report type. A document that
  // fails keeps its lines so far, its failure goes to the error log, the walk goes on.
  void RenderDocuments(ListBox& list, int documentType, std::string_view firstText,
                       std::string_view lastText);
  void BuildPositionTable();
  int PositionOfNumber(int number, bool isEnd);
  void RenderReceipt(ListBox& list, int position, Layout layout);
  void RenderZReport(ListBox& list, int position, int walkIndex);
  // The documents the last RenderDocuments showed lines of or failed on, in list order. A line
  // counts from the first one the rendering made, taken or not.
  const std::vector<RenderedDocument>& Rendered() const { return rendered_; }
  // After each document, take gets the list's lines and may take lines out of them (a printer
  // that writes them as they come): nothing later in a rendering changes a document's lines.
  void HandLinesTo(std::function<void(LineList&)> take) { take_ = std::move(take); }

 private:
  void RenderOne(ListBox& list, int position, int documentType, int walkIndex);
  // Whether a position holds a Z-report numbered first..last.
  bool HoldsZReportWithin(int position, int first, int last);
  // The positions of the first and the last Z-report numbered first..last; an empty span (end
  // before start) when there is none.
  std::pair<int, int> ZReportSpan(int first, int last);
  // The document at a position, or none where a MAC came without its DAT. The walk never creates
  // documents: an empty one made up here would sort first at the next ordering.
  const dat* Find(int position) const;
  // The heading lines every document starts with.
  void AddHeader(ListBox& list, const dat& document);

  const rq& rq_;
  DocumentTables& tables_;
  std::string errorLogPath_;
  std::vector<RenderedDocument> rendered_;
  std::function<void(LineList&)> take_;
  std::size_t taken_ = 0;  // lines take_ took in this rendering
};

}  // namespace morvek
