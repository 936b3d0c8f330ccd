#pragma once
// One Application with its desktop views, its waits shrunk so that no test waits long, and sleeps
// skipped (the main window's activation sleeps over a second).
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/application.h"
#include "gui/desktop.h"
#include "gui/qt_ui.h"

namespace morvek::gui::test {

class QuickUi : public QtUi {
 public:
  void Sleep(int ms) override { sleptMs += ms; }
  long sleptMs = 0;
};

inline RegisterTimings QuickTimings() {
  return {.handshake = {.streamTimeoutMs = 2000, .cycles = 1, .ticks = 10, .tickMs = 100},
          .zelmar = {.streamTimeoutMs = 2000,
                     .waitSliceMs = 20,
                     .waitSlices = 10,
                     .waitSeries = 2,
                     .resendPauseMs = 20,
                     .receiveLimitMs = 4000},
          .datecs = {.streamTimeoutMs = 2000, .waitStepMs = 50, .readOnTimeouts = 2},
          .blocks = {.streamTimeoutMs = 2000, .waitMs = 2000}};
}

struct DesktopFixture {
  QuickUi ui;
  Application app{ui, QuickTimings()};
  std::unique_ptr<Desktop> desktop;

  DesktopFixture() { desktop = std::make_unique<Desktop>(app, ui); }
};

// A step that runs at the first look at pending events after `ms`, from inside whatever handler
// is running then. It goes with its scope, so it never runs in another test.
class Scheduled {
 public:
  explicit Scheduled(std::function<void()> step, int ms = 0) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, std::move(step));
    timer_.start(ms);
  }
  bool pending() const { return timer_.isActive(); }

 private:
  QTimer timer_;
};

// Lets events run until the condition holds or about two seconds have passed.
template <class Condition>
bool WaitFor(Condition condition) {
  return QTest::qWaitFor(condition, 2000);
}

}  // namespace morvek::gui::test
