#pragma once
// A whole program connected to the simulated register on a loopback address, for the road of a
// request from the click to the rendered list. The timings are shrunk so that a silent register
// costs about a second; the simulator logs to a file of the test's own folder, from which the
// tests count the requests it received and read its printouts.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/application.h"
#include "sim/sim_server.h"
#include "test_support.h"

namespace morvek::test {

inline const std::string kSampleJournal = MORVEK_SOURCE_DIR "/data/sample-journal.xml";
inline const std::string kGoldenDir = MORVEK_SOURCE_DIR "/tests/golden/expected/";

inline ZelmarTimings ShortZelmarTimings() {
  ZelmarTimings t;
  t.streamTimeoutMs = 20;  // 50 empty reads: a silent register is given up after a second
  t.waitSliceMs = 5;
  t.waitSlices = 4;
  t.waitSeries = 1;
  t.resendPauseMs = 0;
  t.receiveLimitMs = 2000;
  return t;
}

struct SimSetup {
  sim::Protocol protocol = sim::Protocol::kZelmar;
  std::string address;
  std::vector<sim::Fault> faults;
  int fragmentSize = 200;
  std::string journal = ReadFile(kSampleJournal);
};

class SimWindow {
 public:
  explicit SimWindow(const SimSetup& setup)
      : logFile_(std::fopen(dir.File("sim.log").c_str(), "w")),
        log_(logFile_),
        journal(std::make_shared<const sim::Journal>(sim::Journal::FromText(setup.journal))) {
    sim::SimOptions options;
    options.host = setup.address;
    options.port = 0;
    options.timings.announcement = std::chrono::milliseconds(2000);
    options.timings.piecePause = std::chrono::milliseconds(20);
    options.timings.dripPause = std::chrono::milliseconds(1);
    options.registerConfig.protocol = setup.protocol;
    options.registerConfig.fragmentSize = setup.fragmentSize;
    options.registerConfig.faults = setup.faults;
    server_ = std::make_unique<sim::SimServer>(options, journal, log_);
    const int port = server_->Start();

    form.errorLogPath = dir.File("error.log");
    form.tempXmlPath = dir.File("temp.xml");
    app.datecs.timings.streamTimeoutMs = 200;
    app.datecs.timings.waitStepMs = 5;
    app.datecs.timings.readOnTimeouts = 2;
    // What the Datecs driver's reconnect path reads: the server and the 9-byte identity.
    app.Form3.Edit1.text = setup.address;
    app.Form3.Edit2.text = "ZL0000001";
    app.Form3.RadioGroup1.itemIndex = setup.protocol == sim::Protocol::kZelmar ? 1 : 0;
    app.Form4.onRepaint = [this] {
      const std::string& text = app.Form4.Label2.text;
      if (!text.empty() && (progress.empty() || progress.back() != text)) progress.push_back(text);
    };

    ClientSocket& socket = app.Form1.ClientSocket1;
    socket.SetHost(setup.address);
    socket.SetPort(port);
    socket.Activate();
    SocketStream stream(socket, 2000);
    const std::string announcement = ":4000000001:";
    stream.Write(announcement.data(), announcement.size());
    char ready[8] = {};
    if (stream.Read(ready, 5) != 5 || std::string(ready) != "Ready")
      throw std::runtime_error("the simulated server did not answer Ready");
  }
  ~SimWindow() {
    app.Form1.ClientSocket1.Deactivate();
    server_->Stop();
    std::fclose(logFile_);
  }

  void Ask(int type, int first, int last) {
    form.ComboBox1.Select(type);
    form.Edit1.text = std::to_string(first);
    form.Edit2.text = std::to_string(last);
  }
  void FetchByNumber(int type, int first, int last) {
    Ask(type, first, last);
    form.Button1Click();
  }

  std::vector<std::string> SimLogLines() const {
    std::vector<std::string> lines;
    const std::string text = ReadFile(dir.File("sim.log"));
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find('\n', at);
      lines.push_back(text.substr(at, end - at));
      at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
  }
  // Byte runs the register received that start a frame (SOH): one per request, as the tool writes
  // each frame at once and waits for its reply.
  int RequestsReceived() const {
    int received = 0;
    for (const std::string& line : SimLogLines())
      if (line.rfind("<- 01", 0) == 0) ++received;
    return received;
  }

  // temp.xml as it must read when the documents of a kind and range came whole: each one the
  // register's own text, a line each.
  std::string ExpectedAssembly(sim::DocumentKind kind, int first, int last) const {
    std::string bytes = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
    for (const sim::JournalDocument* document : journal->Range(kind, first, last))
      bytes += std::string(journal->Text(*document)) + "\r\n";
    return bytes + "</RQ>\r\n";
  }
  std::string TempXml() const { return ReadFile(form.tempXmlPath); }

  TempDir dir;
  RecordingUi ui;

 private:
  std::FILE* logFile_;
  sim::SimLog log_;

 public:
  std::shared_ptr<const sim::Journal> journal;
  Application app{ui, ShortZelmarTimings()};
  TForm53& form = app.Form53;
  std::vector<std::string> progress;  // each new text of the notice window's second line

 private:
  std::unique_ptr<sim::SimServer> server_;
};

inline std::string ProtocolName(const ::testing::TestParamInfo<sim::Protocol>& info) {
  return info.param == sim::Protocol::kZelmar ? "Zelmar" : "Datecs";
}

// The lines a list would be saved as: each followed by CR LF.
inline std::string Joined(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

}  // namespace morvek::test
