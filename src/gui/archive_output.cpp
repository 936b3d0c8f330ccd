#include "gui/archive_output.h"

namespace morvek::gui {

// The PDF export and the printing of strips of lines come with their own change; until then the
// buttons say so.
std::string SavePdf(ArchiveBrowser&, Ui&) {
  return "Выгрузка в PDF пока недоступна в этой версии программы";
}

std::string PrintDocuments(ArchiveBrowser&, QWidget&) {
  return "Печать пока недоступна в этой версии программы";
}

}  // namespace morvek::gui
