// Block transfer of a whole journal: 10 000 receipts fetched from the simulated register on
// loopback through the retrieval window's FetchBlocks, beside a raw loop that writes the same
// request blocks and reads each reply block whole, in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "bench/journal_generator.h"
#include "bench/sim_peer.h"
#include "platform/silent_ui.h"
#include "platform/socket.h"
#include "retrieval/block_transfer.h"

namespace morvek {
namespace {

constexpr int kReceipts = 10000;
constexpr const char* kHost = "127.0.30.250";

// A register with block transfer serving a generated journal, and the tool connected to it.
struct Setup {
  Setup() : peer(Options(), Journal()) {
    peer.Connect(app.Form1.ClientSocket1);
    app.Form53.tempXmlPath =
        (std::filesystem::temp_directory_path() / "morvek_block_bench.xml").string();
  }
  ~Setup() {
    app.Form1.ClientSocket1.Deactivate();
    std::remove(app.Form53.tempXmlPath.c_str());
  }
  static sim::SimOptions Options() {
    sim::SimOptions options;
    options.host = kHost;
    options.registerConfig.block = true;
    return options;
  }
  static std::string Journal() {
    JournalOptions journal;
    journal.receipts = kReceipts;
    journal.zReports = 30;
    return GenerateJournal(journal).xml;
  }

  SimPeer peer;
  SilentUi ui;
  Application app{ui};
};

void FetchBlocksOfTenThousandReceipts(benchmark::State& state) {
  Setup setup;
  TForm53& form = setup.app.Form53;
  for (auto _ : state) {
    form.FetchBlocks(1, kReceipts, 1);
    // The declaration, <RQ V="1">, a line per receipt and </RQ>.
    if (form.ListBox1.lines.size() != kReceipts + 3u) state.SkipWithError("receipts missing");
  }
  state.SetItemsProcessed(state.iterations() * kReceipts);
}

// The same blocks on the wire with nothing done to them.
void RawBlocksOfTenThousandReceipts(benchmark::State& state) {
  Setup setup;
  ClientSocket& socket = setup.app.Form1.ClientSocket1;
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

BENCHMARK(FetchBlocksOfTenThousandReceipts)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(RawBlocksOfTenThousandReceipts)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvek

BENCHMARK_MAIN();
