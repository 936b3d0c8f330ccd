// Sessions share nothing: eight of them, one per thread, each against a simulated register of its
// own (both protocols, fragments and blocks), fetch the same range at once and each gets what one
// session alone gets, in files of its own. The thread-sanitizer build runs this test too.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "session/render.h"
#include "session/session.h"
#include "sim/sim_server.h"
#include "test_support.h"

namespace morvek {
namespace {

constexpr int kSessions = 8;
constexpr int kFirst = 1517, kLast = 1529;

// What one session brought: the rendered lines and the assembled document it wrote.
struct Brought {
  bool connected = false;
  long long delivered = 0;
  std::vector<std::string> lines;
  std::string assembled;
  std::vector<std::string> messages;
};

class ParallelSessions : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto journal = std::make_shared<const sim::Journal>(
        sim::Journal::FromText(test::ReadFile(MORVEK_SOURCE_DIR "/data/sample-journal.xml")));
    for (int i = 0; i < kSessions; ++i) {
      sim::SimOptions options;
      options.host = Host(i);
      options.port = 0;
      options.registerConfig.protocol = Zelmar(i) ? sim::Protocol::kZelmar : sim::Protocol::kDatecs;
      options.registerConfig.block = Blocks(i);
      options.registerConfig.firmware = Blocks(i) ? "Dec 12 2015" : "Nov 12 2014";
      options.fiscalNumber = "3000567412";
      servers_.push_back(std::make_unique<sim::SimServer>(options, journal, log_));
      ports_.push_back(servers_.back()->Start());
    }
  }
  void TearDown() override {
    for (auto& server : servers_) server->Stop();
  }

  static std::string Host(int i) { return "127.0.61." + std::to_string(i + 1); }
  static bool Zelmar(int i) { return i % 2 == 1; }
  static bool Blocks(int i) { return i % 4 >= 2; }

  Brought Run(int i) const {
    RecordingUi ui;
    SessionOptions options;
    options.host = Host(i);
    options.port = ports_[static_cast<std::size_t>(i)];
    options.protocol = Zelmar(i) ? Protocol::kZelmar : Protocol::kDatecs;
    options.identity = {true, "3000567412"};
    options.assembledPath = dir_.File("temp-" + std::to_string(i) + ".xml");
    options.errorLogPath = dir_.File("error-" + std::to_string(i) + ".log");
    options.exchangeLogPath = Zelmar(i) ? dir_.File("exchange-" + std::to_string(i) + ".log") : "";
    Brought brought;
    Session session(options, ui);
    brought.connected =
        session.Connect().connected && session.Connection().recentFirmware == Blocks(i);
    const FetchResult fetched = session.Fetch(kTypeBoth, kFirst, kLast);
    brought.delivered = fetched.outcome.Count(Fate::kDelivered);
    brought.lines =
        RenderJournal(JoinLines(AssembledLines(fetched.documents)), kTypeBoth,
                      std::to_string(kFirst), std::to_string(kLast), options.errorLogPath)
            .lines;
    brought.assembled = test::ReadFile(options.assembledPath);
    brought.messages = ui.messages;
    return brought;
  }

  test::TempDir dir_;
  sim::SimLog log_{nullptr};
  std::vector<std::unique_ptr<sim::SimServer>> servers_;
  std::vector<int> ports_;
};

TEST_F(ParallelSessions, EightAtOnceEachGetWhatOneAloneGets) {
  const Brought alone = Run(0);
  ASSERT_TRUE(alone.connected) << test::U(alone.messages.empty() ? "" : alone.messages[0]);
  ASSERT_GT(alone.delivered, 0);

  std::vector<Brought> brought(kSessions);
  std::vector<std::thread> threads;
  for (int i = 0; i < kSessions; ++i)
    threads.emplace_back([this, i, &brought] { brought[static_cast<std::size_t>(i)] = Run(i); });
  for (std::thread& thread : threads) thread.join();

  for (int i = 0; i < kSessions; ++i) {
    const Brought& b = brought[static_cast<std::size_t>(i)];
    SCOPED_TRACE("session " + std::to_string(i));
    EXPECT_TRUE(b.connected);
    EXPECT_TRUE(b.messages.empty());
    EXPECT_EQ(b.delivered, alone.delivered);
    EXPECT_EQ(b.lines, alone.lines);
    EXPECT_EQ(b.assembled, alone.assembled);
  }
}

}  // namespace
}  // namespace morvek
