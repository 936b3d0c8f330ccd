// morvek, the desktop program: the window logic of the core behind Qt widgets.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "gui/desktop.h"
#include "gui/qt_ui.h"
#include "platform/program_version.h"

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts(morvek::VersionLine("morvek").c_str());
    return 0;
  }
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(morvek::gui::kProgramTitle));
  // Qt's own dialogs and buttons ("Save As", "Yes", "Cancel") in the program's language.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Russian), "qtbase", "_",
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  morvek::gui::QtUi ui;
  morvek::Application app(ui);
  app.onQuit = [] { QCoreApplication::quit(); };
  morvek::gui::Desktop desktop(app, ui);
  desktop.Start();
  return QApplication::exec();
}
