#pragma once
// A started program for the main window's tests: its settings file in a fresh folder, every wait
// shrunk, and the Ui's message hook running the test's steps one per call.
#include <sys/ioctl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "test_support.h"

namespace morvek::test {

// 127.0.10.n: each test its own address, so tests running side by side never share a port.
inline std::string TestHost(int n) {
  return "127.0.10." + std::to_string(n);
}

inline RegisterTimings FastTimings() {
  return {.handshake = {.streamTimeoutMs = 2000, .cycles = 4, .ticks = 60, .tickMs = 2},
          .zelmar = {.streamTimeoutMs = 20,
                     .waitSliceMs = 2,
                     .waitSlices = 5,
                     .waitSeries = 1,
                     .resendPauseMs = 0,
                     .receiveLimitMs = 200},
          .datecs = {.streamTimeoutMs = 100, .waitStepMs = 2},
          .blocks = {}};
}

class StartedApp {
 public:
  explicit StartedApp(const RegisterTimings& timings = FastTimings()) : app(ui, timings) {
    app.Form2.workDir = dir.path();
    app.Create();
    app.Form3.FormActivate();
    app.zelmar.Log().workDir = [this] { return dir.path(); };
    ui.messages.clear();
    ui.onProcessMessages = [this] {
      if (step < steps.size()) steps[step++]();
    };
  }

  // The register as a fiscal number on host, through the protocol's port.
  void Aim(const std::string& host, bool zelmar, const std::string& fiscalNumber = "4000000001") {
    app.Form3.Edit1.text = host;
    app.Form3.Edit2.text = fiscalNumber;
    app.Form3.RadioGroup1.itemIndex = zelmar ? 1 : 0;
    app.Form3.RadioGroup2.itemIndex = 1;
  }

  // Bytes the program has received but not read.
  int UnreadBytes() {
    int count = -1;
    ioctl(app.Form1.ClientSocket1.Handle(), FIONREAD, &count);
    return count;
  }

  TempDir dir;
  RecordingUi ui;
  Application app;
  std::vector<std::function<void()>> steps;  // one per processing of window messages
  std::size_t step = 0;
};

}  // namespace morvek::test
