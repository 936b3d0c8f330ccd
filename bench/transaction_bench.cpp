// Transaction overhead of the two drivers: document-fragment requests against the simulated
// register on loopback, beside a raw loop that writes the same request frame and reads the reply
// to its ETX, in the same run. The driver should cost little beyond the bytes on the wire.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "datecs/transaction.h"
#include "platform/silent_ui.h"
#include "platform/socket.h"
#include "sim/journal_generator.h"
#include "sim/sim_peer.h"
#include "zelmar/transaction.h"

namespace morvek {
namespace {

constexpr int kDocuments = 100;

// A simulated register of one protocol on a free loopback port, serving a generated journal.
SimPeer Peer(sim::Protocol protocol) {
  JournalOptions journal;
  journal.receipts = kDocuments;
  journal.zReports = 1;
  sim::SimOptions options;
  options.registerConfig.protocol = protocol;
  return SimPeer(options, GenerateJournal(journal).xml);
}

// Writes the frame and reads until a read ends in ETX; the reply's bytes as counted.
std::size_t RawExchange(ClientSocket& socket, const std::string& frame) {
  SocketStream stream(socket, 5000);
  stream.Write(frame.data(), frame.size());
  char buffer[512];
  std::size_t total = 0;
  for (;;) {
    const std::size_t n = stream.Read(buffer, sizeof buffer);
    if (n == 0) throw SocketError("reply timed out");
    total += n;
    if (buffer[n - 1] == 0x03) return total;
  }
}

// The tool's side of a connection, connected and announced.
struct Client {
  explicit Client(const SimPeer& peer) { peer.Connect(socket); }

  SilentUi ui;
  ClientSocket socket;
  datecs::RetData last;  // what the Datecs driver delivered last
  datecs::ResultCallback keep = [this](datecs::RetData& record) { last = record; };
};

void ZelmarDriverFragments(benchmark::State& state) {
  const SimPeer peer = Peer(sim::Protocol::kZelmar);
  Client client(peer);
  ZelmarDriver driver(client.socket, client.ui);
  int out = 0, n = 0;
  for (auto _ : state) {
    const ZelmarResult* result =
        driver.ZelmarGetDocument("582941", 1, 1 + n++ % kDocuments, 0, out);
    if (result->statusCode != "0000") state.SkipWithError("register refused a fragment");
  }
  state.SetItemsProcessed(state.iterations());
}

void ZelmarRawFragments(benchmark::State& state) {
  const SimPeer peer = Peer(sim::Protocol::kZelmar);
  Client client(peer);
  ZelmarDriver driver(client.socket, client.ui);
  int out = 0;
  const std::string frame = driver.ZelmarGetDocument("582941", 1, 1, 0, out)->sentFrame;
  for (auto _ : state) benchmark::DoNotOptimize(RawExchange(client.socket, frame));
  state.SetItemsProcessed(state.iterations());
}

void DatecsDriverFragments(benchmark::State& state) {
  const SimPeer peer = Peer(sim::Protocol::kDatecs);
  Client client(peer);
  DatecsDriver driver(client.socket);
  int n = 0;
  for (auto _ : state) {
    driver.DatecsGetDocument(client.keep, "582941", 1, 1 + n++ % kDocuments, 0);
    if (client.last.paramCount < 1) state.SkipWithError("no fragment delivered");
  }
  state.SetItemsProcessed(state.iterations());
}

void DatecsRawFragments(benchmark::State& state) {
  const SimPeer peer = Peer(sim::Protocol::kDatecs);
  Client client(peer);
  DatecsDriver driver(client.socket);
  driver.DatecsGetDocument(client.keep, "582941", 1, 1, 0);
  const std::string frame = client.last.sentFrame;
  for (auto _ : state) benchmark::DoNotOptimize(RawExchange(client.socket, frame));
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(ZelmarDriverFragments)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ZelmarRawFragments)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DatecsDriverFragments)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DatecsRawFragments)->Iterations(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morvek

BENCHMARK_MAIN();
