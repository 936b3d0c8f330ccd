#pragma once
// An export in the making: documents are added one by one, and the files it makes are put in place
// at the end, all together or not at all (FileSet). What an export can write as it goes it writes
// beside the targets, so that a long tape is never held whole.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/document_record.h"
#include "export/pdf_pages.h"
#include "platform/text_file.h"

namespace morvek {

class DocumentExport {
 public:
  virtual ~DocumentExport() = default;
  // registerName: the fleet's name for the document's register; empty when not known.
  virtual void Add(const DocumentRecord& document, std::string_view registerName) = 0;
  // Puts the files in place, once, and gives their paths; raises FileError, leaving the targets
  // as they were.
  virtual std::vector<std::string> Finish() = 0;
};

enum class CsvEncoding { kUtf8, kCp1251 };

// PREFIX-documents.csv, PREFIX-lines.csv and PREFIX-zreports.csv, each with its header row; UTF-8
// with a byte-order mark, or Windows-1251 without one.
std::unique_ptr<DocumentExport> CsvExport(std::string prefix, CsvEncoding encoding);
// JSON Lines: one object per document, its text image included. Raises ExportError from Add when a
// text image does not render.
std::unique_ptr<DocumentExport> JsonExport(std::string path);
// The documents' text images on PDF pages (pdf_pages.h), in the order they are added; the pages
// name the register and the days the documents span. Raises ExportError from Add when a text image
// does not render, and from Files when the PDF cannot be made.
std::unique_ptr<DocumentExport> PdfExport(std::string path, PdfPaper paper);

}  // namespace morvek
