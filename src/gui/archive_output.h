#pragma once
// The archive window's PDF and printing of the filtered set; each gives the message for the
// operator (UTF-8), empty when the operator cancelled.
#include <string>

#include "app/archive_browser.h"
#include "platform/ui.h"

namespace morvek::gui {

std::string SavePdf(ArchiveBrowser& browser, Ui& ui);
std::string PrintDocuments(ArchiveBrowser& browser, Ui& ui);

}  // namespace morvek::gui
