// The CSV export: three files, documents, receipt lines and Z-report totals, each row of the last
// two led by the key of its document.
#include <string>
#include <utility>

#include "codec/cp1251.h"
#include "export/csv_text.h"
#include "export/document_export.h"
#include "export/document_rows.h"
#include "export/export_values.h"

namespace morvek {

namespace {

const std::vector<std::string_view> kLineKey = {"fiscal_number", "kind", "number", "di"};
const std::vector<std::string_view> kZTotalKey = {"fiscal_number", "number", "di", "date_time"};

std::vector<std::string_view> Joined(const std::vector<std::string_view>& key,
                                     const std::vector<std::string_view>& columns) {
  std::vector<std::string_view> all = key;
  all.insert(all.end(), columns.begin(), columns.end());
  return all;
}

std::string Header(const std::vector<std::string_view>& columns) {
  return CsvRecord(std::vector<std::string>(columns.begin(), columns.end()));
}

class Csv : public DocumentExport {
 public:
  Csv(std::string prefix, CsvEncoding encoding)
      : encoding_(encoding),
        files_({prefix + "-documents.csv", prefix + "-lines.csv", prefix + "-zreports.csv"}) {
    files_.Append(kDocuments, Start(Header(kDocumentColumns)));
    files_.Append(kLines, Start(Header(Joined(kLineKey, kLineColumns))));
    files_.Append(kZTotals, Start(Header(Joined(kZTotalKey, kZTotalColumns))));
  }

  void Add(const DocumentRecord& document, std::string_view registerName) override {
    const ExportRow row = DocumentRow(document, registerName);
    files_.Append(kDocuments, Encoded(CsvRecord(row.Cells(kDocumentColumns))));
    for (const ExportRow& line : ReceiptLineRows(document))
      files_.Append(kLines, Encoded(Keyed(row, kLineKey, line, kLineColumns)));
    for (const ExportRow& total : ZTotalRows(document))
      files_.Append(kZTotals, Encoded(Keyed(row, kZTotalKey, total, kZTotalColumns)));
  }

  std::vector<std::string> Finish() override {
    files_.Commit();
    return files_.Paths();
  }

 private:
  static std::string Keyed(const ExportRow& document, const std::vector<std::string_view>& key,
                           const ExportRow& row, const std::vector<std::string_view>& columns) {
    std::vector<std::string> cells = document.Cells(key);
    for (std::string& cell : row.Cells(columns)) cells.push_back(std::move(cell));
    return CsvRecord(cells);
  }

  static constexpr std::size_t kDocuments = 0, kLines = 1, kZTotals = 2;

  // The texts go out as they will be read: UTF-8 after a byte-order mark, or Windows-1251.
  std::string Start(const std::string& header) const {
    return encoding_ == CsvEncoding::kCp1251 ? Encoded(header) : "\xEF\xBB\xBF" + header;
  }
  std::string Encoded(std::string utf8) const {
    return encoding_ == CsvEncoding::kCp1251 ? Utf8ToCp1251(utf8) : utf8;
  }

  CsvEncoding encoding_;
  FileSet files_;
};

}  // namespace

std::unique_ptr<DocumentExport> CsvExport(std::string prefix, CsvEncoding encoding) {
  return std::make_unique<Csv>(std::move(prefix), encoding);
}

}  // namespace morvek
