#include "app/archive_window.h"

#include "app/application.h"
#include "codec/cp1251.h"
#include "platform/translation.h"

namespace morvek {

ArchiveWindow::ArchiveWindow(Application& app) : app_(app) {
  Retranslate();
}

void ArchiveWindow::Retranslate() {
  caption = std::string("Архив"_tr);
  if (browser) caption += " - " + Utf8ToCp1251(location);
}

void ArchiveWindow::Open() {
  // The settings file is where the main window found it; before its first activation, in the
  // working folder.
  const std::string settings = app_.Form2.iniPath.empty() ? "morvek.ini" : app_.Form2.iniPath;
  const std::string at = ArchiveLocation("", settings);
  if (!browser) {
    try {
      browser = std::make_unique<ArchiveBrowser>(OpenArchive(at));
    } catch (const ArchiveError& failure) {
      app_.ui.ShowMessage(std::string("Архив не открывается: "_tr) + Utf8ToCp1251(failure.what()));
      return;
    }
    location = RedactedLocation(at);
    Retranslate();
  }
  Show();
}

void ArchiveWindow::FormClose() {
  browser.reset();
}

}  // namespace morvek
