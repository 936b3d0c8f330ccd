#include "gui/window_binding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include "gui/desktop.h"
#include "gui/main_window_view.h"
#include "gui/view.h"

namespace morvek::gui {
namespace {

// A window just shown is framed by the window manager a moment later, sooner or later as the
// machine is loaded: it is looked at every kFramedMs until its frame is known, for at most
// kFramedTries times (without a window manager it never gets one).
constexpr int kFramedMs = 50;
constexpr int kFramedTries = 40;

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
    if (w.isVisible()) {
      w.raise();
      w.activateWindow();
    } else {
      ShowPlaced();
    }
  };
  window.onShowModal = [this] { RunModal(); };
  window.onClose = [this] { view_.widget().close(); };
  window.onIsActive = [this] { return view_.widget().isActiveWindow(); };
}

void WindowBinding::ShowPlaced() {
  QWidget& w = view_.widget();
  Place();
  w.show();
  w.raise();
  w.activateWindow();
  // Until the window manager has framed the window its frame is not known: placed once more when
  // it is.
  if (placement != Placement::kAsItIs) PlaceWhenFramed(kFramedTries);
}

void WindowBinding::PlaceWhenFramed(int triesLeft) {
  QWidget& w = view_.widget();
  QTimer::singleShot(kFramedMs, &w, [this, &w, triesLeft] {
    if (!w.isVisible()) return;
    if (w.frameGeometry().size() != w.geometry().size())
      Place();
    else if (triesLeft > 1)
      PlaceWhenFramed(triesLeft - 1);
  });
}

void WindowBinding::Place() {
  QWidget& w = view_.widget();
  const QScreen* screen = w.screen();
  if (placement == Placement::kAsItIs || !screen) return;
  const QRect area = placement == Placement::kScreenCentre
                         ? screen->availableGeometry()
                         : desktop_.mainWindow().widget().frameGeometry();
  QRect frame = w.frameGeometry();
  frame.moveCenter(area.center());
  if (frame.topLeft() != w.frameGeometry().topLeft()) w.move(frame.topLeft());
}

void WindowBinding::Activated() {
  if (desktop_.NoteActivation(&window_) && onActivate) desktop_.Run(onActivate);
}

void WindowBinding::RunModal() {
  QWidget& w = view_.widget();
  // Modality takes effect only on a window shown anew.
  w.hide();
  w.setWindowModality(Qt::ApplicationModal);
  view_.Refresh();
  desktop_.ModalBegins(&window_);
  ShowPlaced();
  window_.visible = true;
  {
    const ModalBlocker blocker(w);
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
  }
  w.setWindowModality(Qt::NonModal);
  desktop_.ModalEnds();
}

bool WindowBinding::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &view_.widget()) return false;
  switch (event->type()) {
    case QEvent::Show:
      if (!event->spontaneous()) window_.visible = true;
      break;
    case QEvent::Hide:
      if (event->spontaneous()) break;  // minimised
      window_.visible = false;
      desktop_.NoteHidden(&window_);
      break;
    case QEvent::WindowActivate: Activated(); break;
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
