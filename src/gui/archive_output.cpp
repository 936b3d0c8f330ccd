#include "gui/archive_output.h"

#include "codec/cp1251.h"

namespace morvek::gui {

std::string SavePdf(ArchiveBrowser& browser, Ui& ui) {
  const std::string question("Документы на ленте шириной 80 мм? (Нет: столбцами на листах A4)"_cp);
  const bool roll = ui.AskYesNo(question, std::string("В PDF"_cp));
  const std::optional<std::string> path = ui.PromptSaveFile({"*.pdf", "archive.pdf", "pdf"});
  if (!path) return "";
  try {
    return browser.ExportPdf(*path, roll ? PdfPaper::kRoll80 : PdfPaper::kA4);
  } catch (const std::exception& e) {
    return std::string("Выгрузка не удалась: ") + e.what();
  }
}

// The printing of strips of lines comes with its own change; until then the button says so.
std::string PrintDocuments(ArchiveBrowser&, QWidget&) {
  return "Печать пока недоступна в этой версии программы";
}

}  // namespace morvek::gui
