#include "gui/window_binding.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QWidget>

#include "gui/desktop.h"
#include "gui/view.h"

namespace morvek::gui {

WindowBinding::WindowBinding(Window& window, View& view, Desktop& desktop)
    : window_(window), view_(view), desktop_(desktop) {
  QWidget& widget = view.widget();
  widget.installEventFilter(this);
  window.onRepaint = [this] {
    view_.Refresh();
    view_.widget().repaint();
  };
  window.onVisibilityChange = [this](bool visible) {
    QWidget& w = view_.widget();
    if (!visible) {
      w.hide();
      return;
    }
    view_.Refresh();
    w.show();
    w.raise();
    w.activateWindow();
  };
  window.onShowModal = [this] { RunModal(); };
  window.onClose = [this] { view_.widget().close(); };
  window.onIsActive = [this] { return view_.widget().isActiveWindow(); };
}

void WindowBinding::RunModal() {
  QWidget& w = view_.widget();
  // Modality takes effect only on a window shown anew.
  w.hide();
  w.setWindowModality(Qt::ApplicationModal);
  view_.Refresh();
  w.show();
  w.raise();
  w.activateWindow();
  window_.visible = true;
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec(QEventLoop::DialogExec);
  modalLoop_ = nullptr;
  w.setWindowModality(Qt::NonModal);
}

bool WindowBinding::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &view_.widget()) return false;
  switch (event->type()) {
    case QEvent::Show:
      if (!event->spontaneous()) window_.visible = true;
      break;
    case QEvent::Hide:
      if (!event->spontaneous()) window_.visible = false;  // a spontaneous one: minimised
      break;
    case QEvent::WindowActivate:
      if (desktop_.NoteActivation(&window_) && onActivate) desktop_.Run(onActivate);
      break;
    case QEvent::Close:
      if (onCloseRequest && !onCloseRequest()) {
        event->ignore();
        return true;
      }
      // A modal showing ends when the window closes; hidden for a while (as the retrieval window
      // is during its requests) it stays modal.
      if (modalLoop_) modalLoop_->quit();
      break;
    default: break;
  }
  return false;
}

}  // namespace morvek::gui
