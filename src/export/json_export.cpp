// The JSON Lines export: one object per document with its figures, its lines or totals and its
// text image.
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "export/document_export.h"
#include "export/document_rows.h"
#include "export/text_image.h"

namespace morvek {

namespace {

nlohmann::ordered_json ObjectOf(const ExportRow& row,
                                const std::vector<std::string_view>& columns) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  for (const std::string_view column : columns) {
    const auto field = row.fields.find(column);
    if (field == row.fields.end()) continue;
    const std::string key(column);
    if (field->second.number)
      object[key] = std::stoll(field->second.text);
    else
      object[key] = field->second.text;
  }
  return object;
}

nlohmann::ordered_json ArrayOf(const std::vector<ExportRow>& rows,
                               const std::vector<std::string_view>& columns) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const ExportRow& row : rows) array.push_back(ObjectOf(row, columns));
  return array;
}

nlohmann::ordered_json DocumentJson(const DocumentRecord& document, std::string_view registerName) {
  nlohmann::ordered_json object = ObjectOf(DocumentRow(document, registerName), kDocumentColumns);
  if (IsZReport(document)) {
    object["totals"] = ArrayOf(ZTotalRows(document), kZTotalColumns);
  } else {
    // The receipt's lines, with its payments and its taxes apart.
    std::vector<ExportRow> lines, payments, taxes;
    for (ExportRow& row : ReceiptLineRows(document)) {
      const std::string kind = row.At("line_kind");
      (kind == "payment" ? payments : kind == "tax" ? taxes : lines).push_back(std::move(row));
    }
    object["lines"] = ArrayOf(lines, kLineColumns);
    object["payments"] = ArrayOf(payments, kLineColumns);
    object["taxes"] = ArrayOf(taxes, kLineColumns);
  }
  object["text"] = TextImage(document);
  return object;
}

class JsonLines : public DocumentExport {
 public:
  explicit JsonLines(std::string path) : file_({std::move(path)}) {}

  void Add(const DocumentRecord& document, std::string_view registerName) override {
    // A text that is no valid UTF-8 is written with replacement characters, never refused midway.
    std::string line = DocumentJson(document, registerName)
                           .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    line += '\n';
    file_.Append(0, line);
  }

  std::vector<std::string> Finish() override {
    file_.Commit();
    return file_.Paths();
  }

 private:
  FileSet file_;
};

}  // namespace

std::unique_ptr<DocumentExport> JsonExport(std::string path) {
  return std::make_unique<JsonLines>(std::move(path));
}

}  // namespace morvek
