#pragma once
// Binds a window of the logic to the top-level widget of its view, both ways: the logic's show,
// hide, modal show, close, repaint and is-active reach the widget; the widget's showing, hiding,
// activation and close requests reach the window's flag and the handlers the view names.
#include <QObject>
#include <functional>

#include "platform/window.h"

class QEventLoop;

namespace morvek::gui {

class Desktop;
class View;

class WindowBinding : public QObject {
 public:
  WindowBinding(Window& window, View& view, Desktop& desktop);

  // The window's activation handler; run when the window becomes the program's active window
  // after another of its windows (or first), not when it returns from a message box.
  std::function<void()> onActivate;
  // Asked when the widget is to close; false refuses the close.
  std::function<bool()> onCloseRequest;

  // Where the window appears each time it is shown: centred on the screen, since the window that
  // opened it may be hidden, or centred over the main window.
  enum class Placement { kAsItIs, kScreenCentre, kOverMainWindow };
  Placement placement = Placement::kAsItIs;
  // Shows the widget where its placement puts it; Place puts it there again (after a change of
  // its size).
  void ShowPlaced();
  void Place();

  // The window became the active one: its activation handler runs when the desktop says so.
  void Activated();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RunModal();
  void PlaceWhenFramed(int triesLeft);

  Window& window_;
  View& view_;
  Desktop& desktop_;
  QEventLoop* modalLoop_ = nullptr;
};

}  // namespace morvek::gui
