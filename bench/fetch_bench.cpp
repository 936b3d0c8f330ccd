// A request by number of 1,000 receipts through the retrieval window's FetchByNumber against the
// simulated register on loopback, beside a bare client that makes the same exchanges: the same
// request frames written, each reply read to its ETX, nothing decoded or kept. Every receipt takes
// three fragments and a fourth request that ends it. The same requests through the driver's entry
// points alone tell the window's share from the driver's. The run ends with the ratios to the bare
// client for each protocol, beside the limit.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/application.h"
#include "bench/median_reporter.h"
#include "bench/uniform_journal.h"
#include "datecs/frame.h"
#include "platform/silent_ui.h"
#include "platform/socket.h"
#include "sim/sim_peer.h"
#include "zelmar/frame.h"

namespace morvek {
namespace {

constexpr int kDocuments = 1000;
constexpr int kRequestsPerDocument = 4;
constexpr double kRatioLimit = 1.5;

// The simulated register of one protocol on a free loopback port.
SimPeer Peer(sim::Protocol protocol) {
  sim::SimOptions options;
  options.registerConfig.protocol = protocol;
  options.registerConfig.fragmentSize = kFragmentSize;
  return SimPeer(options, UniformJournal(kDocuments));
}

std::string TempXmlPath() {
  return (std::filesystem::temp_directory_path() /
          ("morvek-fetch-bench-" + std::to_string(::getpid()) + ".xml"))
      .string();
}

void ThroughTheWindow(benchmark::State& state, sim::Protocol protocol) {
  const SimPeer peer = Peer(protocol);
  SilentUi ui;
  Application app(ui);
  peer.Connect(app.Form1.ClientSocket1);
  app.Form3.RadioGroup1.itemIndex = protocol == sim::Protocol::kZelmar ? 1 : 0;
  TForm53& form = app.Form53;
  form.tempXmlPath = TempXmlPath();
  form.ComboBox1.Select(kTypeReceipt);
  app.Form4.Show();  // the progress text is written while the notice window shows
  for (auto _ : state) {
    state.PauseTiming();
    form.tables.shownNumbers.Clear();  // or the second run would ask for nothing
    state.ResumeTiming();
    form.FetchByNumber(1, kDocuments, 1);
  }
  std::size_t bytes = 0;
  for (const std::string_view line : form.ListBox1.lines) bytes += line.size();
  if (form.ListBox1.lines.size() != kDocuments + 3u ||
      bytes < static_cast<std::size_t>(kDocuments) * kDocumentBytes)
    state.SkipWithError("not every receipt came whole");
  std::filesystem::remove(form.tempXmlPath);
  state.SetItemsProcessed(state.iterations() * kDocuments);
}

// The same requests through the driver's entry points alone, to tell the window's share of the
// difference from the driver's.
void DriverCalls(benchmark::State& state, sim::Protocol protocol) {
  const SimPeer peer = Peer(protocol);
  SilentUi ui;
  Application app(ui);
  peer.Connect(app.Form1.ClientSocket1);
  const auto callback = app.PrinterResultsxCallback();
  int out = 0;
  for (auto _ : state) {
    for (int n = 1; n <= kDocuments; ++n) {
      for (int f = 0; f < kRequestsPerDocument; ++f) {
        if (protocol == sim::Protocol::kZelmar)
          app.Form2.lastZelmarResult = app.zelmar.ZelmarGetDocument("582941", 1, n, f, out, 0);
        else
          app.datecs.DatecsGetDocument(callback, "582941", 1, n, f);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kDocuments);
}

// Writes the frame and reads until a read ends in ETX.
void RawExchange(ClientSocket& socket, const std::string& frame) {
  SocketStream stream(socket, 5000);
  stream.Write(frame.data(), frame.size());
  char buffer[512];
  for (;;) {
    const std::size_t n = stream.Read(buffer, sizeof buffer);
    if (n == 0) throw SocketError("reply timed out");
    if (buffer[n - 1] == 0x03) return;
  }
}

void BareClient(benchmark::State& state, sim::Protocol protocol) {
  const SimPeer peer = Peer(protocol);
  ClientSocket socket;
  peer.Connect(socket);
  std::uint8_t counter = 0;
  const bool zelmar = protocol == sim::Protocol::kZelmar;
  for (auto _ : state) {
    for (int n = 1; n <= kDocuments; ++n) {
      for (int f = 0; f < kRequestsPerDocument; ++f) {
        const std::string number = std::to_string(n) + (zelmar ? ";" : ",") + std::to_string(f);
        const std::string frame =
            zelmar ? zelmar::BuildRequest(counter, 0xA7, "582941;1;" + number + ";")
                   : datecs::BuildRequest(counter, 0xA7, "1," + number);
        RawExchange(socket, frame);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kDocuments);
}

// Five repetitions each, their median taken: the machine is shared, and a burst of other work
// would otherwise fall on one side of a ratio only.
void Settings(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(ThroughTheWindow, Zelmar, sim::Protocol::kZelmar)->Apply(Settings);
BENCHMARK_CAPTURE(DriverCalls, Zelmar, sim::Protocol::kZelmar)->Apply(Settings);
BENCHMARK_CAPTURE(BareClient, Zelmar, sim::Protocol::kZelmar)->Apply(Settings);
BENCHMARK_CAPTURE(ThroughTheWindow, Datecs, sim::Protocol::kDatecs)->Apply(Settings);
BENCHMARK_CAPTURE(DriverCalls, Datecs, sim::Protocol::kDatecs)->Apply(Settings);
BENCHMARK_CAPTURE(BareClient, Datecs, sim::Protocol::kDatecs)->Apply(Settings);

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  return RunWithMedians(argc, argv, [](const MedianReporter& reporter) {
    for (const std::string protocol : {"Zelmar", "Datecs"}) {
      const auto window = reporter.medians.find("ThroughTheWindow/" + protocol);
      const auto bare = reporter.medians.find("BareClient/" + protocol);
      if (window == reporter.medians.end() || bare == reporter.medians.end()) continue;
      const double ratio = window->second.real / bare->second.real;
      std::printf(
          "%s: FetchByNumber / bare exchanges = %.2fx real time (%.0f / %.0f ms), limit %.1fx: %s; "
          "%.2fx CPU time of the calling thread (%.0f / %.0f ms)\n",
          protocol.c_str(), ratio, window->second.real, bare->second.real, kRatioLimit,
          ratio <= kRatioLimit ? "within" : "OVER", window->second.cpu / bare->second.cpu,
          window->second.cpu, bare->second.cpu);
      const auto driver = reporter.medians.find("DriverCalls/" + protocol);
      if (driver != reporter.medians.end())
        std::printf(
            "%s: the driver's entry points alone / bare exchanges = %.2fx real time (%.0f ms)\n",
            protocol.c_str(), driver->second.real / bare->second.real, driver->second.real);
    }
  });
}
