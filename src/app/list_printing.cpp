// The list on paper: on the desktop printer, or on A4 pages of a PDF file, a document per strip.
#include "app/application.h"
#include "app/tform53.h"
#include "codec/cp1251.h"
#include "export/pdf_pages.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace morvek {

namespace {

// "Чек № 12" or "Z-отчет № 3", from the model's document at that position.
std::string TitleOf(const rq& model, int position) {
  const auto found = model.dats.find(position);
  if (found == model.dats.end()) return "";
  const dat& document = found->second;
  const auto z = document.zvits.find(0);
  if (!document.is_receipt && z != document.zvits.end())
    return std::string(Tr("Z-отчет № ")) + std::to_string(static_cast<long long>(z->second.no));
  const auto receipt = document.checks.find(0);
  if (receipt == document.checks.end()) return "";
  return std::string(Tr("Чек № ")) + std::to_string(static_cast<long long>(receipt->second.end.no));
}

}  // namespace

void TForm53::NoteListDocuments(const std::vector<RenderedDocument>& documents, std::size_t base) {
  if (ListBox2.clears != listClears_) {
    listDocuments_.clear();
    listClears_ = ListBox2.clears;
  }
  for (const RenderedDocument& document : documents)
    listDocuments_.push_back(
        {base + document.firstLine, Utf8ToCp1251(TitleOf(rq, document.position))});
}

std::vector<TextStrip> TForm53::ListStrips() const {
  const LineList& lines = ListBox2.lines;
  // Starts noted before the list was last cleared belong to another list.
  const std::vector<ListDocument> none;
  const std::vector<ListDocument>& documents =
      ListBox2.clears == listClears_ ? listDocuments_ : none;
  std::vector<TextStrip> strips;
  std::size_t next = 0;  // the first line of the strip being gathered
  std::string title;     // its title
  const auto cut = [&](std::size_t end) {
    if (end <= next) return;
    strips.push_back(
        {title, {lines.begin() + static_cast<long>(next), lines.begin() + static_cast<long>(end)}});
    next = end;
  };
  for (const ListDocument& document : documents) {
    cut(std::min(document.firstLine, lines.size()));
    title = document.title;
  }
  cut(lines.size());
  return strips;
}

void TForm53::Button7Click() {
  app_.ui.PrintStrips(ListStrips());
}

void TForm53::Button8Click() {
  const auto path = app_.ui.PromptSaveFile({"*.pdf", "*.pdf", "pdf"});
  if (!path) return;
  PrintJob job;
  job.registerName = Cp1251ToUtf8(app_.Form3.Edit2.text);
  job.range = "№ " + Cp1251ToUtf8(Edit1.text) + " - " + Cp1251ToUtf8(Edit2.text);
  for (TextStrip& strip : ListStrips()) {
    for (std::string& line : strip.lines) line = Cp1251ToUtf8(line);
    job.strips.push_back({Cp1251ToUtf8(strip.title), std::move(strip.lines)});
  }
  ReplaceFile(*path, PdfPages(job, PdfPaper::kA4));
}

}  // namespace morvek
