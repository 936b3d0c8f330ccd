#include "app/archive_browser.h"

#include <algorithm>

#include "archive/archive_text.h"
#include "codec/cp1251.h"
#include "export/document_export.h"
#include "export/text_image.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace morvek {

ArchiveBrowser::ArchiveBrowser(std::unique_ptr<Archive> archive)
    : archive_(std::move(archive)), marks_(*archive_) {}

bool ArchiveBrowser::Apply(const ArchiveFilter& filter) {
  const std::optional<FindQuery> query = FilterQuery(filter, error_);
  if (!query) return false;
  error_.clear();
  query_ = *query;
  rows_.clear();
  checked_ = 0;
  lastFetched_.clear();
  more_ = true;
  // Another look at the archive: what collectors stored meanwhile is checked too.
  marks_.Forget();
  totals_ = archive_->Totals(query_);
  Append(NextPage());
  CheckMarks(kFirstPageChecks);
  return true;
}

int ArchiveBrowser::FetchMore() {
  const int added = Append(NextPage());
  CheckMarks(kPageChecks);
  return added;
}

int ArchiveBrowser::CheckMarks(std::chrono::milliseconds budget) {
  const auto start = std::chrono::steady_clock::now();
  const std::size_t first = checked_;
  while (checked_ < rows_.size()) {
    ArchiveRow& row = rows_[checked_];
    row.mark = MarkOf(marks_.CheckOne(row.document, lastFetched_[row.document.fiscalNumber]));
    ++checked_;
    if (std::chrono::steady_clock::now() - start >= budget) break;
  }
  return static_cast<int>(checked_ - first);
}

std::vector<ArchiveRow> ArchiveBrowser::NextPage() {
  if (!more_) return {};
  std::optional<FoundDocument> after;
  if (!rows_.empty()) after = rows_.back().document;
  const std::vector<FoundDocument> page = archive_->Page(query_, after, kPageRows);
  more_ = static_cast<int>(page.size()) == kPageRows;
  std::vector<ArchiveRow> rows;
  rows.reserve(page.size());
  for (const FoundDocument& document : page)
    rows.push_back(
        {document, RowMark{MarkState::kPending, std::string(Tr("Смена еще проверяется"))}});
  return rows;
}

int ArchiveBrowser::Append(std::vector<ArchiveRow> page) {
  for (ArchiveRow& row : page) {
    long long& last = lastFetched_[row.document.fiscalNumber];
    last = std::max(last, row.document.di);
    rows_.push_back(std::move(row));
  }
  return static_cast<int>(page.size());
}

std::string ArchiveBrowser::TotalsText() const {
  return std::string(Tr("Документов: ")) + std::to_string(totals_.documents) + "   " +
         std::string(Tr("продажи: ")) + Hryvnias(totals_.sales) + "   " +
         std::string(Tr("возвраты: ")) + Hryvnias(totals_.returns);
}

std::string ArchiveBrowser::ColumnTitle(int column) {
  const std::string_view titles[kColumns] = {Tr("Касса"),        Tr("Вид"),   Tr("Номер"),   "DI",
                                             Tr("Дата и время"), Tr("Сумма"), Tr("Проверка")};
  return column >= 0 && column < kColumns ? std::string(titles[column]) : "";
}

std::string ArchiveBrowser::Cell(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return "";
  const ArchiveRow& r = rows_[static_cast<std::size_t>(row)];
  const FoundDocument& d = r.document;
  switch (column) {
    case kRegister: return d.registerName.empty() ? d.fiscalNumber : d.registerName;
    case kKind: return KindCaption(d.kind);
    case kNumber: return std::to_string(d.number);
    case kDi: return std::to_string(d.di);
    case kTime: return ShortTimestamp(d.timestamp);
    case kTotal: return Hryvnias(d.total);
    case kMark: return MarkSymbol(r.mark.state);
    default: return "";
  }
}

std::optional<DocumentRecord> ArchiveBrowser::RecordOf(const FoundDocument& document) {
  std::optional<DocumentRecord> record;
  archive_->ForEachDocumentBetween(
      document.fiscalNumber, document.di, document.di,
      [&record](const StoredDocument& stored) { record = ReadDocument(stored.xml); });
  return record;
}

std::vector<std::string> ArchiveBrowser::TextImageOf(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
  try {
    const std::optional<DocumentRecord> record =
        RecordOf(rows_[static_cast<std::size_t>(row)].document);
    if (!record) return {std::string(Tr("Документа больше нет в архиве"))};
    return TextImage(*record);
  } catch (const std::exception& failure) {
    return {std::string(Tr("Документ не показывается: ")) + failure.what()};
  }
}

void ArchiveBrowser::ForEachRecord(
    const std::function<void(const FoundDocument&, const DocumentRecord&)>& visit) {
  // Page after page of the whole filtered set, not only the rows fetched so far.
  constexpr int kReadPage = 1000;
  std::optional<FoundDocument> after;
  for (;;) {
    const std::vector<FoundDocument> page = archive_->Page(query_, after, kReadPage);
    for (const FoundDocument& document : page)
      if (const std::optional<DocumentRecord> record = RecordOf(document)) visit(document, *record);
    if (static_cast<int>(page.size()) < kReadPage) break;
    after = page.back();
  }
}

std::vector<TextStrip> ArchiveBrowser::Strips() {
  std::vector<TextStrip> strips;
  ForEachRecord([&strips](const FoundDocument& document, const DocumentRecord& record) {
    TextStrip strip;
    strip.title = Utf8ToCp1251(
        (document.registerName.empty() ? document.fiscalNumber : document.registerName) + " " +
        std::string(document.kind == DocumentKind::kZReport ? Tr("Z-отчет № ") : Tr("Чек № ")) +
        std::to_string(document.number));
    for (const std::string& line : TextImage(record)) strip.lines.push_back(Utf8ToCp1251(line));
    strips.push_back(std::move(strip));
  });
  return strips;
}

std::string ArchiveBrowser::Export(DocumentExport& out) {
  long long added = 0;
  ForEachRecord([&](const FoundDocument& document, const DocumentRecord& record) {
    out.Add(record, document.registerName);
    ++added;
  });
  const std::vector<std::string> files = out.Finish();
  std::string names;
  for (const std::string& file : files) names += "\n" + file;
  return std::string(Tr("Выгружено документов: ")) + std::to_string(added) + names;
}

std::string ArchiveBrowser::ExportCsv(const std::string& prefix) {
  const std::unique_ptr<DocumentExport> out = CsvExport(prefix, CsvEncoding::kUtf8);
  return Export(*out);
}

std::string ArchiveBrowser::ExportJson(const std::string& path) {
  const std::unique_ptr<DocumentExport> out = JsonExport(path);
  return Export(*out);
}

std::string ArchiveBrowser::ExportPdf(const std::string& path, PdfPaper paper) {
  const std::unique_ptr<DocumentExport> out = PdfExport(path, paper);
  return Export(*out);
}

}  // namespace morvek
