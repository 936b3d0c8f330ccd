// Block transfer of a whole journal: 10 000 receipts fetched from the simulated register on
// loopback through the retrieval window's FetchBlocks, each time by a window that holds nothing
// yet, beside a raw loop that writes the same request blocks and reads each reply block whole.
// The run ends with the ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/application.h"
#include "bench/median_reporter.h"
#include "blocks/block_transfer.h"
#include "platform/silent_ui.h"
#include "platform/socket.h"
#include "sim/journal_generator.h"
#include "sim/sim_peer.h"

namespace morvek {
namespace {

constexpr int kReceipts = 10000;
constexpr const char* kHost = "127.0.30.250";

// A register with block transfer serving a generated journal.
SimPeer& Register() {
  static SimPeer peer = [] {
    sim::SimOptions options;
    options.host = kHost;
    options.registerConfig.block = true;
    JournalOptions journal;
    journal.receipts = kReceipts;
    journal.zReports = 30;
    return SimPeer(options, GenerateJournal(journal).xml);
  }();
  return peer;
}

// The program as it starts, connected to the register.
struct FreshWindow {
  FreshWindow() {
    Register().Connect(app.Form1.ClientSocket1);
    app.Form53.tempXmlPath = (std::filesystem::temp_directory_path() /
                              ("morvek-block-bench-" + std::to_string(::getpid()) + ".xml"))
                                 .string();
  }
  ~FreshWindow() {
    app.Form1.ClientSocket1.Deactivate();
    std::remove(app.Form53.tempXmlPath.c_str());
  }
  SilentUi ui;
  Application app{ui};
};

void FetchBlocks(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<FreshWindow>();
    TForm53& form = window->app.Form53;
    state.ResumeTiming();
    form.FetchBlocks(1, kReceipts, 1);
    state.PauseTiming();
    // The declaration, <RQ V="1">, a line per receipt and </RQ>; every number delivered.
    if (form.ListBox1.lines.size() != kReceipts + 3u ||
        form.outcome.Count(Fate::kDelivered) != kReceipts)
      state.SkipWithError("receipts missing");
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kReceipts);
}

// The same blocks on the wire with nothing done to them.
void RawBlocks(benchmark::State& state) {
  FreshWindow window;
  ClientSocket& socket = window.app.Form1.ClientSocket1;
  const BlockTimings timings{5000, 5000};
  const std::string continueBlock = ContinueBlock();
  std::string reply;
  for (auto _ : state) {
    std::size_t blocks = 0;
    ExchangeBlock(socket, timings, GiveDocumentsBlock(1, 1, kReceipts), reply);
    while (!reply.empty() && (ReadReplyBlock(reply).flags & kBlockFlagsLast) == 0) {
      ExchangeBlock(socket, timings, continueBlock, reply);
      ++blocks;
    }
    if (reply.empty()) state.SkipWithError("register fell silent");
    benchmark::DoNotOptimize(blocks);
  }
  state.SetItemsProcessed(state.iterations() * kReceipts);
}

// Five repetitions each, their median taken: the machine is shared.
void Settings(benchmark::internal::Benchmark* b) {
  b->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime()->Unit(
      benchmark::kMillisecond);
}

BENCHMARK(FetchBlocks)->Apply(Settings);
BENCHMARK(RawBlocks)->Apply(Settings);

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  return RunWithMedians(argc, argv, [](const MedianReporter& reporter) {
    const MedianReporter::Times* window = reporter.Of("FetchBlocks");
    const MedianReporter::Times* raw = reporter.Of("RawBlocks");
    if (!window || !raw) return;
    std::printf(
        "FetchBlocks / raw blocks = %.2fx real time (%.0f / %.0f ms for %d receipts); %.2fx CPU "
        "time of the calling thread (%.0f / %.0f ms)\n",
        window->real / raw->real, window->real, raw->real, kReceipts, window->cpu / raw->cpu,
        window->cpu, raw->cpu);
  });
}
