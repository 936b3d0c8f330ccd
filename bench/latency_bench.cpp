// Fetches bound by the line: 300 receipts of three fragments each, through the session API
// (connect: handshake and register check; then the fetch), from the simulated register behind a
// line of 50 ms latency, by number and by blocks, for both protocols. Each run prints its time
// beside the floor the line sets and their ratio.
//
// The floor is what the line alone costs: every answer of the register waits one latency, and its
// bytes cross the line at its bandwidth. The exchanges are counted on the register's side: the
// simulator counts each answer it sends after the latency ("Ready", the diagnostics, each reply
// and each block), one per request/reply pair, and the bytes it sent. They are checked against the
// count the protocol gives: by number, "Ready", the diagnostics and four requests a receipt (three
// fragments and the one that ends it); by blocks, "Ready", the diagnostics and one block a receipt
// (a receipt of 600 Base64 characters fits one block, the last one flagged last).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include <unistd.h>

#include "bench/uniform_journal.h"
#include "platform/silent_ui.h"
#include "render/renderer.h"
#include "session/session.h"
#include "sim/sim_peer.h"

namespace morvek {
namespace {

constexpr int kReceipts = 300;
constexpr int kLatencyMs = 50;
constexpr double kGoal = 1.05;
constexpr long kAnswersBeforeFetch = 2;  // "Ready" and the diagnostics

struct Figures {
  double measuredMs = 0;
  double floorMs = 0;
  long exchanges = 0;
  long long bytes = 0;
  int bandwidthKbit = 0;
};
// Per benchmark, for the summary at the end.
std::map<std::string, Figures> gFigures;

std::string ScratchPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          ("morvek-latency-bench-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

void FetchOverTheLine(benchmark::State& state, sim::Protocol protocol, bool blocks,
                      int bandwidthKbit, const std::string& name) {
  sim::SimOptions options;
  options.host = "127.0.31.50";
  options.line.latency = std::chrono::milliseconds(kLatencyMs);
  options.line.bandwidthKbit = bandwidthKbit;
  options.registerConfig.protocol = protocol;
  options.registerConfig.fragmentSize = kFragmentSize;
  options.registerConfig.block = blocks;
  options.registerConfig.firmware = blocks ? "Dec  4 2015" : "Nov 12 2014";
  const SimPeer peer(options, UniformJournal(kReceipts));

  SessionOptions session;
  session.host = peer.host;
  session.port = peer.port;
  session.protocol = protocol == sim::Protocol::kZelmar ? Protocol::kZelmar : Protocol::kDatecs;
  session.identity = {true, "4000000001"};
  session.assembledPath = ScratchPath("temp.xml");
  session.errorLogPath = ScratchPath("error.log");
  const long expected = kAnswersBeforeFetch + (blocks ? kReceipts : 4L * kReceipts);

  Figures figures;
  figures.bandwidthKbit = bandwidthKbit;
  for (auto _ : state) {
    SilentUi ui;
    Session s(session, ui);
    const long answers = peer.server->answersSent();
    const long long bytes = peer.server->bytesSent();
    const auto start = std::chrono::steady_clock::now();
    const ConnectResult connection = s.Connect();
    const FetchResult result =
        connection.connected ? s.Fetch(kTypeReceipt, 1, kReceipts) : FetchResult{};
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count() / 1000.0);
    if (!connection.connected || connection.recentFirmware != blocks)
      state.SkipWithError("the register check failed or chose the other way");
    if (result.outcome.Count(Fate::kDelivered) != kReceipts)
      state.SkipWithError("not every receipt was delivered");
    const long exchanges = peer.server->answersSent() - answers;
    if (exchanges != expected) state.SkipWithError("not the exchanges the protocol needs");
    figures.measuredMs += took.count();
    figures.exchanges += exchanges;
    figures.bytes += peer.server->bytesSent() - bytes;
  }
  std::filesystem::remove(session.assembledPath);
  std::filesystem::remove(session.errorLogPath);
  const double runs = static_cast<double>(state.iterations());
  figures.floorMs =
      static_cast<double>(figures.exchanges) * kLatencyMs +
      (bandwidthKbit > 0 ? static_cast<double>(figures.bytes) * 8.0 / bandwidthKbit : 0.0);
  state.counters["floor_ms"] = figures.floorMs / runs;
  state.counters["ratio"] = figures.measuredMs / figures.floorMs;
  state.counters["exchanges"] = static_cast<double>(figures.exchanges) / runs;
  figures.measuredMs /= runs;
  figures.floorMs /= runs;
  figures.exchanges = static_cast<long>(static_cast<double>(figures.exchanges) / runs);
  figures.bytes = static_cast<long long>(static_cast<double>(figures.bytes) / runs);
  gFigures[name] = figures;
}

// The four fetches on a line of unlimited bandwidth, and those by blocks also at 1000 kbit/s,
// where their bytes weigh most. One fetch a run: each takes a minute or a quarter of one, and the
// line, not the machine, sets its time.
void RegisterFetches() {
  for (const sim::Protocol protocol : {sim::Protocol::kDatecs, sim::Protocol::kZelmar})
    for (const bool blocks : {false, true})
      for (const int kbit : {0, 1000}) {
        if (kbit > 0 && !blocks) continue;
        const std::string name =
            std::string(protocol == sim::Protocol::kZelmar ? "Zelmar" : "Datecs") +
            (blocks ? " by blocks" : " by number") +
            (kbit > 0 ? ", " + std::to_string(kbit) + " kbit/s" : "");
        benchmark::RegisterBenchmark(
            name.c_str(),
            [=](benchmark::State& state) { FetchOverTheLine(state, protocol, blocks, kbit, name); })
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
      }
}

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  RegisterFetches();
  benchmark::RunSpecifiedBenchmarks();
  std::printf("%d receipts at %d ms latency:\n", kReceipts, kLatencyMs);
  for (const auto& [name, f] : gFigures) {
    const std::string line = f.bandwidthKbit > 0 ? " + " + std::to_string(f.bytes) + " bytes at " +
                                                       std::to_string(f.bandwidthKbit) + " kbit/s"
                                                 : "";
    std::printf("%-30s %6.0f ms, floor %6.0f ms (%ld exchanges x %d ms%s): %.3fx, goal %.2fx: %s\n",
                name.c_str(), f.measuredMs, f.floorMs, f.exchanges, kLatencyMs, line.c_str(),
                f.measuredMs / f.floorMs, kGoal,
                f.measuredMs / f.floorMs <= kGoal ? "within" : "OVER");
  }
  benchmark::Shutdown();
  return 0;
}
