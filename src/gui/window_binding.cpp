#include "gui/window_binding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QSet>
#include <QWidget>

#include "gui/desktop.h"
#include "gui/view.h"

namespace morvek::gui {
namespace {

// While a window is shown modally, the windows that were open before it take no input, also while
// the logic hides the modal window for a request: the operator cannot open it a second time or
// change the connection under a running request.
class ModalBlocker : public QObject {
 public:
  explicit ModalBlocker(const QWidget& modal) {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window != &modal && window->isVisible()) blocked_.insert(window);
    qApp->installEventFilter(this);
  }
  ~ModalBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel: break;
      case QEvent::Close:
        if (!event->spontaneous()) return false;
        break;
      default: return false;
    }
    const auto* widget = qobject_cast<QWidget*>(watched);
    return widget && blocked_.contains(widget->window());
  }

 private:
  QSet<const QWidget*> blocked_;
};

}  // namespace

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
  const ModalBlocker blocker(w);
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
