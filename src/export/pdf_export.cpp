// The PDF export: each document's text image as a strip of the paper.
#include <string>
#include <utility>

#include "export/document_export.h"
#include "export/text_image.h"

namespace morvek {

namespace {

// "2024-01-09 08:21:57" as "09.01.24"; empty without a timestamp.
std::string ShortDate(const std::string& timestamp) {
  if (timestamp.size() < 10) return "";
  return timestamp.substr(8, 2) + "." + timestamp.substr(5, 2) + "." + timestamp.substr(2, 2);
}

std::string TitleOf(const DocumentRecord& document) {
  const char* kind = document.kind == DocumentKind::kZReport ? "Z-отчет" : "Чек";
  return std::string(kind) + " № " + std::to_string(document.number) + "   " +
         ShortDate(document.timestamp);
}

class PdfFile : public DocumentExport {
 public:
  PdfFile(std::string path, PdfPaper paper) : path_(std::move(path)), paper_(paper) {}

  void Add(const DocumentRecord& document, std::string_view registerName) override {
    job_.strips.push_back({TitleOf(document), TextImage(document)});
    const std::string name =
        registerName.empty() ? "ФН " + document.fiscalNumber : std::string(registerName);
    if (job_.registerName.empty()) {
      job_.registerName = name;
    } else if (job_.registerName != name && !manyRegisters_) {
      job_.registerName += ", ...";
      manyRegisters_ = true;
    }
    const std::string& day = document.timestamp;
    if (day.empty()) return;
    if (first_.empty() || day < first_) first_ = day;
    if (day > last_) last_ = day;
  }

  std::vector<std::string> Finish() override {
    job_.range = first_.empty() ? "" : ShortDate(first_) + " - " + ShortDate(last_);
    ReplaceFile(path_, PdfPages(job_, paper_));
    return {path_};
  }

 private:
  std::string path_;
  PdfPaper paper_;
  PrintJob job_;
  bool manyRegisters_ = false;
  std::string first_, last_;  // the earliest and the latest timestamp
};

}  // namespace

std::unique_ptr<DocumentExport> PdfExport(std::string path, PdfPaper paper) {
  return std::make_unique<PdfFile>(std::move(path), paper);
}

}  // namespace morvek
