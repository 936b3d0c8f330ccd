#pragma once
// A whole program connected to the simulated register on a loopback address, serving the sample
// journal, with timings shrunk so that a silent register costs about a second. The simulator logs
// to the test's folder, from which the requests it received and its printouts are read.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "sim/sim_peer.h"
#include "test_support.h"

namespace morvek::test {

using Lines = std::vector<std::string>;
using sim::DocumentKind;
using sim::Protocol;

inline const std::string kSampleJournal = MORVEK_SOURCE_DIR "/data/sample-journal.xml";
inline const std::string kGoldenDir = MORVEK_SOURCE_DIR "/tests/golden/expected/";

// Zelmar: 50 empty reads of 20 ms, a silent register is given up after a second.
inline RegisterTimings ShortTimings() {
  // A server that takes and ignores a connection: 1 s.
  return {.handshake = {.streamTimeoutMs = 2000, .cycles = 2, .ticks = 5, .tickMs = 100},
          .zelmar = {.streamTimeoutMs = 20,
                     .waitSliceMs = 5,
                     .waitSlices = 4,
                     .waitSeries = 1,
                     .resendPauseMs = 0,
                     .receiveLimitMs = 2000},
          .datecs = {.streamTimeoutMs = 200, .waitStepMs = 5, .readOnTimeouts = 2},
          .blocks = {.streamTimeoutMs = 2000, .waitMs = 2000}};
}

class SimWindow {
 public:
  // faults as morvek-sim takes them: "nak@2", "status@1=0CD0"; blocks: the register answers
  // block requests.
  SimWindow(Protocol protocol, const std::string& address,
            const std::vector<std::string>& faults = {},
            const std::string& journalText = ReadFile(kSampleJournal), bool blocks = false,
            const RegisterTimings& timings = ShortTimings())
      : logFile_(std::fopen(dir.File("sim.log").c_str(), "w")),
        peer_(Options(protocol, address, faults, blocks), journalText, logFile_),
        journal(peer_.journal),
        app(ui, timings) {
    form.errorLogPath = dir.File("error.log");
    form.tempXmlPath = dir.File("temp.xml");
    // What the Datecs driver's reconnect path reads: the server and the 9-byte identity.
    app.Form3.Edit1.text = address;
    app.Form3.Edit2.text = "ZL0000001";
    app.Form3.RadioGroup1.itemIndex = protocol == Protocol::kZelmar ? 1 : 0;
    app.Form4.onRepaint = [this] {
      const std::string& text = app.Form4.Label2.text;
      if (!text.empty() && (progress.empty() || progress.back() != text)) progress.push_back(text);
    };
    peer_.Connect(app.Form1.ClientSocket1);
  }
  ~SimWindow() {
    app.Form1.ClientSocket1.Deactivate();
    peer_.server->Stop();
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
  void DateFields(const char* startDate, const char* startTime, const char* endDate,
                  const char* endTime) {
    form.Edit4.text = startDate;
    form.Edit6.text = startTime;
    form.Edit5.text = endDate;
    form.Edit7.text = endTime;
  }

  Lines SimLogLines() const {
    Lines lines;
    const std::string text = ReadFile(dir.File("sim.log"));
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
      end = text.find('\n', at);
      lines.push_back(text.substr(at, end - at));
    }
    return lines;
  }
  // Byte runs received that start a frame (SOH): one per request, as the tool writes each frame
  // at once and waits for its reply.
  int RequestsReceived() const {
    int received = 0;
    for (const std::string& line : SimLogLines()) received += line.rfind("<- 01", 0) == 0;
    return received;
  }
  // temp.xml as it reads when the documents of a kind and range came whole, a line each.
  std::string ExpectedAssembly(DocumentKind kind, int first, int last) const {
    std::string bytes = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
    for (const sim::JournalDocument* document : journal->Range(kind, first, last))
      bytes += std::string(journal->Text(*document)) + "\r\n";
    return bytes + "</RQ>\r\n";
  }
  std::string TempXml() const { return ReadFile(form.tempXmlPath); }
  // The server goes away: its connections close and no new one is taken.
  void StopServer() { peer_.server->Stop(); }
  // The receipt numbers the list shows, from their footers ("  000001519 ...").
  std::vector<int> ShownReceipts() const {
    std::vector<int> shown;
    for (const std::string_view line : form.ListBox2.lines)
      if (line.size() > 11 && line.compare(0, 4, "  00") == 0)
        shown.push_back(std::stoi(std::string(line.substr(2, 9))));
    return shown;
  }

  TempDir dir;
  RecordingUi ui;

 private:
  static sim::SimOptions Options(Protocol protocol, const std::string& address,
                                 const std::vector<std::string>& faults, bool blocks) {
    sim::SimOptions options;
    options.host = address;
    options.timings = {std::chrono::milliseconds(2000), std::chrono::milliseconds(20),
                       std::chrono::milliseconds(1)};
    options.registerConfig.protocol = protocol;
    options.registerConfig.block = blocks;
    for (const std::string& fault : faults)
      options.registerConfig.faults.push_back(sim::ParseFault(fault).value());
    return options;
  }

  std::FILE* logFile_;
  SimPeer peer_;

 public:
  std::shared_ptr<const sim::Journal> journal;
  Application app;
  TForm53& form = app.Form53;
  Lines progress;  // each new text of the notice window's second line
};

inline std::string ProtocolName(const ::testing::TestParamInfo<Protocol>& info) {
  return info.param == Protocol::kZelmar ? "Zelmar" : "Datecs";
}

inline std::string Joined(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

inline const std::string kFailure1 = W("Непредвиденный сбой в структуре получаемой информации!");
inline const std::string kFailure2 = W("Попробуйте выбрать другой диапазон номеров или дат!");

}  // namespace morvek::test
