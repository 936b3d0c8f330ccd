#pragma once
// The documents of an archive as the archive window shows them: filtered, a page at a time in time
// order, each with the shift check's mark; the totals of the whole filtered set, its daily sales
// and returns for the chart, a document's text image, and the set exported. Texts are UTF-8, as
// the archive keeps them. Raises ArchiveError where the archive cannot be read.
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/archive_filter.h"
#include "app/archive_marks.h"
#include "archive/archive.h"
#include "archive/shift_marks.h"
#include "export/pdf_pages.h"
#include "platform/text_strip.h"

namespace morvek {

struct ArchiveRow {
  FoundDocument document;
  RowMark mark;
};

class ArchiveBrowser {
 public:
  static constexpr int kPageRows = 200;
  // How long a first page, and a page a scroll adds, may spend on the shift check before it is
  // shown; the rows left are checked afterwards a slice at a time (CheckMarks), so that a page
  // whose rows each close a shift of their own (Z-reports alone) does not hold the window up.
  static constexpr std::chrono::milliseconds kFirstPageChecks{150};
  static constexpr std::chrono::milliseconds kPageChecks{60};
  enum Column { kRegister, kKind, kNumber, kDi, kTime, kTotal, kMark, kColumns };

  explicit ArchiveBrowser(std::unique_ptr<Archive> archive);

  std::vector<RegisterRecord> Registers() { return archive_->Registers(); }

  // Reads the filter: the list starts again from its first page, with the totals of the whole
  // filtered set. False, with the reason in error(), when a field does not read.
  bool Apply(const ArchiveFilter& filter);
  const std::string& error() const { return error_; }

  bool CanFetchMore() const { return more_; }
  // The next page appended, checked for as long as kPageChecks allows; the number of rows added.
  int FetchMore();
  // The same in steps, for a view that announces the rows before they are there: the next page
  // read, appended with its marks pending, then checked.
  std::vector<ArchiveRow> NextPage();
  int Append(std::vector<ArchiveRow> page);

  // Checks the rows not checked yet, in order, until the budget is spent (at least one row);
  // gives how many it checked. The rows before CheckedRows() are checked.
  int CheckMarks(std::chrono::milliseconds budget);
  std::size_t CheckedRows() const { return checked_; }
  bool MarksPending() const { return checked_ < rows_.size(); }

  const std::vector<ArchiveRow>& rows() const { return rows_; }
  const DocumentTotals& totals() const { return totals_; }
  // "Документов: 3   продажи: 12.50   возвраты: 0.00"
  std::string TotalsText() const;
  static std::string ColumnTitle(int column);
  std::string Cell(int row, int column) const;

  // The filtered set's sales and returns per register and day.
  std::vector<DailyTotals> Daily() { return archive_->Daily(query_); }
  // The lines of the row's document as the register printed it, or one line saying why not.
  std::vector<std::string> TextImageOf(int row);

  // Every document of the filtered set in the files, written whole or not at all; the message
  // for the operator. Raises what the export and the files raise.
  std::string ExportCsv(const std::string& prefix);
  std::string ExportJson(const std::string& path);
  std::string ExportPdf(const std::string& path, PdfPaper paper);
  // Every document of the filtered set as a strip for the printer, in Windows-1251 as the
  // platform prints them, titled "4000000101 Чек № 12".
  std::vector<TextStrip> Strips();

 private:
  // The stored record of a listed document; none when the archive no longer holds it.
  std::optional<DocumentRecord> RecordOf(const FoundDocument& document);
  // Every document of the filtered set that the archive still holds, read, in the list's order.
  void ForEachRecord(const std::function<void(const FoundDocument&, const DocumentRecord&)>& visit);
  std::string Export(class DocumentExport& out);

  std::unique_ptr<Archive> archive_;
  ShiftMarks marks_;
  FindQuery query_;
  std::vector<ArchiveRow> rows_;
  std::size_t checked_ = 0;
  // Per register, the last DI fetched: a shift not closed yet is read up to it.
  std::map<std::string, long long> lastFetched_;
  DocumentTotals totals_;
  bool more_ = false;
  std::string error_;
};

}  // namespace morvek
