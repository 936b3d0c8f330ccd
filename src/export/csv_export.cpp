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
      : prefix_(std::move(prefix)),
        encoding_(encoding),
        documents_(Header(kDocumentColumns)),
        lines_(Header(Joined(kLineKey, kLineColumns))),
        zTotals_(Header(Joined(kZTotalKey, kZTotalColumns))) {}

  void Add(const DocumentRecord& document, std::string_view registerName) override {
    const ExportRow row = DocumentRow(document, registerName);
    documents_ += CsvRecord(row.Cells(kDocumentColumns));
    for (const ExportRow& line : ReceiptLineRows(document))
      lines_ += Keyed(row, kLineKey, line, kLineColumns);
    for (const ExportRow& total : ZTotalRows(document))
      zTotals_ += Keyed(row, kZTotalKey, total, kZTotalColumns);
  }

  std::vector<OutputFile> Files() const override {
    return {{prefix_ + "-documents.csv", Encoded(documents_)},
            {prefix_ + "-lines.csv", Encoded(lines_)},
            {prefix_ + "-zreports.csv", Encoded(zTotals_)}};
  }

 private:
  static std::string Keyed(const ExportRow& document, const std::vector<std::string_view>& key,
                           const ExportRow& row, const std::vector<std::string_view>& columns) {
    std::vector<std::string> cells = document.Cells(key);
    for (std::string& cell : row.Cells(columns)) cells.push_back(std::move(cell));
    return CsvRecord(cells);
  }

  std::string Encoded(const std::string& utf8) const {
    if (encoding_ == CsvEncoding::kCp1251) return Utf8ToCp1251(utf8);
    return "\xEF\xBB\xBF" + utf8;
  }

  std::string prefix_;
  CsvEncoding encoding_;
  std::string documents_, lines_, zTotals_;
};

}  // namespace

std::unique_ptr<DocumentExport> CsvExport(std::string prefix, CsvEncoding encoding) {
  return std::make_unique<Csv>(std::move(prefix), encoding);
}

}  // namespace morvek
