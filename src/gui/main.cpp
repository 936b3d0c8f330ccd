// morvek, the desktop program: the window logic of the core behind Qt widgets.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/application.h"
#include "gui/desktop.h"
#include "gui/language.h"
#include "gui/qt_ui.h"
#include "platform/program_version.h"

namespace {

constexpr const char* kUsage = "usage: morvek [--lang ru|uk] [--version]\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that they need no display.
  std::optional<morvek::Language> language;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts(morvek::VersionLine("morvek").c_str());
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--lang") != 0) continue;  // the rest is Qt's (-platform, -style)
    language = i + 1 < argc ? morvek::LanguageFromCode(argv[++i]) : std::nullopt;
    if (!language) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(morvek::gui::kProgramTitle));
  // The settings file of the working folder, where the main window keeps it.
  if (!morvek::gui::UseLanguage(morvek::StartingLanguage(language, "morvek.ini")))
    std::fputs(
        "morvek: morvek_uk.qm is in none of its folders: the windows' own texts stay Russian\n",
        stderr);
  morvek::gui::QtUi ui;
  morvek::Application app(ui);
  app.onQuit = [] { QCoreApplication::quit(); };
  morvek::gui::Desktop desktop(app, ui);
  desktop.Start();
  return QApplication::exec();
}
