#pragma once
// The archive window "Архив": opened from the main window's menu, with no register connected. It
// reads the archive that morvek.ini names ("Archive"/"Path"), else the default file, through an
// ArchiveBrowser that lives while the window is open.
#include <memory>
#include <string>

#include "app/archive_browser.h"
#include "platform/window.h"

namespace morvek {

class Application;

class ArchiveWindow : public Window {
 public:
  explicit ArchiveWindow(Application& app);
  // The title in the current language.
  void Retranslate();

  // The archive of the window while it is open; none before and after.
  std::unique_ptr<ArchiveBrowser> browser;
  std::string location;  // where it was opened, its password replaced

  // Opens the archive and shows the window; a message says why when the archive cannot be opened.
  void Open();
  void FormClose();

 private:
  Application& app_;
};

}  // namespace morvek
