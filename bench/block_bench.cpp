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
#include "platform/silent_ui.h"
#include "platform/socket.h"
#include "retrieval/block_transfer.h"
#include "sim/sim_server.h"

namespace morvek {
namespace {

constexpr int kReceipts = 10000;
constexpr const char* kHost = "127.0.30.250";

// A register with block transfer serving a generated journal, and the tool connected to it.
struct Setup {
  Setup() {
    JournalOptions journal;
    journal.receipts = kReceipts;
    journal.zReports = 30;
    sim::SimOptions options;
    options.host = kHost;
    options.port = 0;
    options.registerConfig.block = true;
    server = std::make_unique<sim::SimServer>(
        options,
        std::make_shared<const sim::Journal>(sim::Journal::FromText(GenerateJournal(journal).xml)),
        log);
    ClientSocket& socket = app.Form1.ClientSocket1;
    socket.SetHost(kHost);
    socket.SetPort(server->Start());
    socket.Activate();
    SocketStream stream(socket, 5000);
    stream.Write(":4000000001:", 12);
    char ready[16];
    if (stream.Read(ready, sizeof ready) == 0) throw SocketError("no Ready");
    app.Form53.tempXmlPath =
        (std::filesystem::temp_directory_path() / "morvek_block_bench.xml").string();
  }
  ~Setup() {
    app.Form1.ClientSocket1.Deactivate();
    server->Stop();
    std::remove(app.Form53.tempXmlPath.c_str());
  }

  sim::SimLog log{nullptr};
  std::unique_ptr<sim::SimServer> server;
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
