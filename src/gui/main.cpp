// morvek, the desktop program: the window logic of the core behind Qt widgets.
#include <QApplication>

#include "app/application.h"
#include "gui/desktop.h"
#include "gui/qt_ui.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(morvek::gui::kProgramTitle));
  morvek::gui::QtUi ui;
  morvek::Application app(ui);
  app.onQuit = [] { QCoreApplication::quit(); };
  morvek::gui::Desktop desktop(app, ui);
  desktop.Start();
  return QApplication::exec();
}
