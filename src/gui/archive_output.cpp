#include "gui/archive_output.h"

#include "codec/cp1251.h"
#include "platform/translation.h"

namespace morvek::gui {

std::string SavePdf(ArchiveBrowser& browser, Ui& ui) {
  const std::string question("Документы на ленте шириной 80 мм? (Нет: столбцами на листах A4)"_tr);
  const bool roll = ui.AskYesNo(question, std::string("В PDF"_tr));
  const std::optional<std::string> path = ui.PromptSaveFile({"*.pdf", "archive.pdf", "pdf"});
  if (!path) return "";
  try {
    return browser.ExportPdf(*path, roll ? PdfPaper::kRoll80 : PdfPaper::kA4);
  } catch (const std::exception& e) {
    return std::string(Tr("Выгрузка не удалась: ")) + e.what();
  }
}

std::string PrintDocuments(ArchiveBrowser& browser, Ui& ui) {
  // A filtered set may be the whole archive: the operator sees how much before it goes out.
  const std::string question =
      std::string(Tr("Напечатать документов: ")) + std::to_string(browser.totals().documents) + "?";
  if (!ui.AskYesNo(Utf8ToCp1251(question), std::string("Печать"_tr))) return "";
  try {
    if (!ui.PrintStrips(browser.Strips())) return "";
  } catch (const std::exception& e) {
    return std::string(Tr("Печать не удалась: ")) + e.what();
  }
  return "";
}

}  // namespace morvek::gui
