// The server over real loopback sockets: the announcement accepted or refused, requests answered on
// the same connection, connections one after another, a slow line, and the program itself started
// and stopped.
#include "sim/sim_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "cli/cli_runner.h"
#include "codec/crc16.h"
#include "sim/journal_generator.h"
#include "sim/sim_test_support.h"
#include "test_support.h"

extern char** environ;

namespace morvek::sim {
namespace {

// A blocking client whose every read gives up after two seconds.
class Client {
 public:
  Client(const std::string& host, int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval limit{2, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Client() { ::close(fd_); }
  bool connected() const { return connected_; }
  void Send(std::string_view bytes) {
    ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }
  // Reads until the bytes end with until, the peer closes, or two seconds pass without a byte.
  std::string ReadUntil(char until) {
    std::string bytes;
    char b = 0;
    while (::recv(fd_, &b, 1, 0) == 1) {
      bytes += b;
      if (b == until) break;
    }
    return bytes;
  }
  // Exactly count bytes, or fewer when the peer closes or two seconds pass without a byte.
  std::string ReadBytes(std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
      const ssize_t n = ::recv(fd_, bytes.data() + got, count - got, 0);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  }
  // True when the peer has closed the connection (a read gives 0 bytes).
  bool PeerClosed() {
    char b = 0;
    return ::recv(fd_, &b, 1, 0) == 0;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

std::shared_ptr<const Journal> TestJournal() {
  JournalOptions options;
  options.receipts = 20;
  options.zReports = 2;
  return std::make_shared<const Journal>(Journal::FromText(GenerateJournal(options).xml));
}

class SimServerTest : public ::testing::Test {
 protected:
  // Starts the server on host at a free port; the fixture stops it, also when a test fails.
  int Start(const std::string& host, SimOptions options = {}) {
    options.host = host;
    options.port = 0;
    server_ = std::make_unique<SimServer>(options, TestJournal(), log_);
    return server_->Start();
  }
  void TearDown() override {
    if (server_) server_->Stop();
  }

  SimLog log_{nullptr};
  std::unique_ptr<SimServer> server_;
};

TEST_F(SimServerTest, FiscalNumberAnnouncementIsAnsweredReady) {
  SimOptions options;
  options.fiscalNumber = "4000000001";
  const int port = Start("127.0.30.102", options);
  Client client("127.0.30.102", port);
  ASSERT_TRUE(client.connected());
  client.Send(":4000000001:");
  EXPECT_EQ(client.ReadUntil('y'), "Ready");
}

TEST_F(SimServerTest, ShortIdDevIsMatchedWithItsZeroPadding) {
  SimOptions options;
  options.idDev = "ZL123";
  const int port = Start("127.0.30.103", options);
  Client client("127.0.30.103", port);
  client.Send(std::string("ZL123\0\0\0\0", 9));
  EXPECT_EQ(client.ReadUntil('y'), "Ready");
}

TEST_F(SimServerTest, AnotherRegisterIsRefusedAndTheConnectionClosed) {
  SimOptions options;
  options.fiscalNumber = "4000000001";
  const int port = Start("127.0.30.104", options);
  Client client("127.0.30.104", port);
  client.Send(":4000000002:");
  EXPECT_EQ(client.ReadUntil('\0'), kRefusal);
  EXPECT_TRUE(client.PeerClosed());
}

TEST_F(SimServerTest, AnyRegisterIsAcceptedWhenNoneIsConfigured) {
  const int port = Start("127.0.30.105");
  Client client("127.0.30.105", port);
  client.Send(std::string("ANYTHING\0", 9));
  EXPECT_EQ(client.ReadUntil('y'), "Ready");
}

TEST_F(SimServerTest, RequestsAfterReadyAreAnsweredOnTheSameConnection) {
  SimOptions options;
  options.registerConfig.firmware = "Dec  4 2015";
  const int port = Start("127.0.30.106", options);
  Client client("127.0.30.106", port);
  client.Send(":4000000001:");
  ASSERT_EQ(client.ReadUntil('y'), "Ready");
  // A frame sent in two pieces, then a broken one.
  const std::string frame = BuildRequestFrame(0x21, 0x80, "582941;");
  client.Send(frame.substr(0, 5));
  client.Send(frame.substr(5));
  const test::ReadReply reply = test::ReadReplyFrame(client.ReadUntil('\x03'), true);
  EXPECT_TRUE(reply.ok);
  EXPECT_EQ(reply.status, "0000");
  EXPECT_EQ(test::SplitText(reply.data, ';').at(3), "Dec  4 2015");
  std::string broken = BuildRequestFrame(0x22, 0x80, "582941;");
  broken[broken.size() - 2] ^= 0x01;
  client.Send(broken);
  EXPECT_EQ(client.ReadUntil('\x15'), "\x15");
}

TEST_F(SimServerTest, ServesHundredClientsInARow) {
  const int port = Start("127.0.30.107");
  for (int i = 0; i < 100; ++i) {
    Client client("127.0.30.107", port);
    client.Send(":4000000001:");
    ASSERT_EQ(client.ReadUntil('y'), "Ready") << "client " << i;
    client.Send(BuildRequestFrame(0x21, 0x80, "582941;"));
    ASSERT_TRUE(test::ReadReplyFrame(client.ReadUntil('\x03'), true).ok) << "client " << i;
  }
}

// A slow line: every answer ("Ready", a reply, a block) waits the latency, the bytes keep to the
// bandwidth, and they are the same bytes a fast line carries. Lower bounds on time only.
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// What one client gets for the announcement, a diagnostics frame and a give-documents block, in
// order, with the time each answer took from its request to its last byte.
struct Answers {
  std::vector<std::string> bytes;
  std::vector<Clock::duration> took;
};

Answers AskEachKind(const std::string& host, int port) {
  Answers answers;
  Client client(host, port);
  const auto ask = [&](const std::string& request, auto read) {
    const auto start = Clock::now();
    client.Send(request);
    answers.bytes.push_back(read());
    answers.took.push_back(Clock::now() - start);
  };
  ask(":4000000001:", [&] { return client.ReadUntil('y'); });
  ask(BuildRequestFrame(0x21, 0x80, "582941;"), [&] { return client.ReadUntil('\x03'); });
  std::string give(1, '\x01');  // receipts 1 to 20
  give += std::string("\x01\0\0\0\x14\0\0\0", 8);
  ask(BuildRequestBlock(kBlockGiveDocuments, give), [&] {
    std::string block = client.ReadBytes(10);
    if (block.size() == 10)
      block += client.ReadBytes(static_cast<unsigned char>(block[8]) +
                                256u * static_cast<unsigned char>(block[9]) + 2);
    return block;
  });
  return answers;
}

SimOptions RecentZelmar() {
  SimOptions options;
  options.registerConfig.firmware = "Dec  4 2015";
  return options;
}

TEST_F(SimServerTest, EachAnswerWaitsTheLatencyAndIsCounted) {
  SimOptions options = RecentZelmar();
  options.line.latency = 150ms;
  const int port = Start("127.0.31.51", options);
  const Answers answers = AskEachKind("127.0.31.51", port);
  ASSERT_EQ(answers.bytes.size(), 3u);
  for (std::size_t i = 0; i < answers.took.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(answers.bytes[i].empty());
    EXPECT_GE(answers.took[i], 150ms);
  }
  EXPECT_EQ(server_->answersSent(), 3);
  std::size_t bytes = 0;
  for (const std::string& answer : answers.bytes) bytes += answer.size();
  EXPECT_EQ(server_->bytesSent(), static_cast<long long>(bytes));
}

TEST_F(SimServerTest, APacedLineCarriesTheSameBytesNoFasterThanItsBandwidth) {
  const int fastPort = Start("127.0.31.52", RecentZelmar());
  const Answers fast = AskEachKind("127.0.31.52", fastPort);
  SimOptions options = RecentZelmar();
  options.line.bandwidthKbit = 16;  // 2000 bytes a second
  options.host = "127.0.31.53";
  options.port = 0;
  SimServer slow(options, TestJournal(), log_);
  const Answers paced = AskEachKind("127.0.31.53", slow.Start());
  EXPECT_EQ(paced.bytes, fast.bytes);
  ASSERT_EQ(paced.took.size(), 3u);
  for (std::size_t i = 0; i < paced.took.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(paced.took[i], std::chrono::microseconds(paced.bytes[i].size() * 500));
  }
  // The block is long enough to be paced in several chunks.
  EXPECT_GT(paced.bytes[2].size(), 100u);
  slow.Stop();
}

// close: the connection ends instead of the reply and the server takes the next one; gone: the
// server goes away with it and takes none.
TEST_F(SimServerTest, CloseAndGoneFaultsEndTheConnectionInsteadOfAnswering) {
  struct Case {
    const char* fault;
    const char* host;
    bool servesAgain;
  };
  for (const Case c :
       {Case{"close@2", "127.0.30.108", true}, Case{"gone@2", "127.0.3.250", false}}) {
    SCOPED_TRACE(c.fault);
    SimOptions options;
    options.registerConfig.faults = {*ParseFault(c.fault)};
    const int port = Start(c.host, options);
    {
      Client client(c.host, port);
      client.Send(":4000000001:");
      ASSERT_EQ(client.ReadUntil('y'), "Ready");
      client.Send(BuildRequestFrame(0x21, 0x80, "582941;"));
      ASSERT_TRUE(test::ReadReplyFrame(client.ReadUntil('\x03'), true).ok);
      client.Send(BuildRequestFrame(0x22, 0x80, "582941;"));
      EXPECT_TRUE(client.PeerClosed());
    }
    Client next(c.host, port);
    EXPECT_EQ(next.connected(), c.servesAgain);
    if (c.servesAgain) {
      next.Send(":4000000001:");
      EXPECT_EQ(next.ReadUntil('y'), "Ready");
    }
    server_->Stop();
  }
}

TEST_F(SimServerTest, BlockTransferRunsOnTheConnectionOfARecentFirmware) {
  SimOptions options;
  options.registerConfig.firmware = "Jan 12 2016";
  const int port = Start("127.0.30.110", options);
  Client client("127.0.30.110", port);
  client.Send(std::string("ZL0000001", 9));
  ASSERT_EQ(client.ReadUntil('y'), "Ready");
  std::string give = {1, 3, 0, 0, 0, 5, 0, 0, 0};  // receipts 3 to 5
  client.Send(BuildRequestBlock(kBlockGiveDocuments, give));
  int documents = 0;
  for (int block = 0; block < 50; ++block) {
    std::string header = client.ReadBytes(10);
    ASSERT_EQ(header.size(), 10u);
    ASSERT_EQ(header.substr(0, 2), "\x07\x07");
    const std::size_t length =
        static_cast<unsigned char>(header[8]) | static_cast<unsigned char>(header[9]) << 8;
    const std::string rest = client.ReadBytes(length + 2);
    ASSERT_EQ(rest.size(), length + 2);
    const std::string payload = rest.substr(0, length);
    const auto crc = static_cast<unsigned>(static_cast<unsigned char>(rest[length]) |
                                           static_cast<unsigned char>(rest[length + 1]) << 8);
    EXPECT_EQ(Crc16Modbus(payload), crc);
    if ((header[2] & kFlagContinued) == 0) ++documents;
    if (header[2] & kFlagLastBlock) break;
    client.Send(BuildRequestBlock(kBlockContinue, std::string("\x02\x00", 2)));
  }
  EXPECT_EQ(documents, 3);
}

TEST_F(SimServerTest, ALone07hBeforeAFrameLeavesTheFrameWhole) {
  SimOptions options;
  options.registerConfig.block = true;
  const int port = Start("127.0.30.111", options);
  Client client("127.0.30.111", port);
  client.Send(":4000000001:");
  ASSERT_EQ(client.ReadUntil('y'), "Ready");
  client.Send("\x07" + BuildRequestFrame(0x21, 0x80, "582941;"));
  EXPECT_TRUE(test::ReadReplyFrame(client.ReadUntil('\x03'), true).ok);
}

// Garbage, a block that claims 64 KiB, half frames, a client gone before its reply, and a crowd
// of connections at once: afterwards the server still answers.
TEST_F(SimServerTest, HostileClientsLeaveTheServerServing) {
  SimOptions options;
  options.registerConfig.block = true;
  options.timings.announcement = std::chrono::milliseconds(200);
  const int port = Start("127.0.30.112", options);
  const std::string host = "127.0.30.112";
  for (const std::string& bytes : {std::string("\x7F\xFF garbage \x01\x02\x03\x15", 13),
                                   std::string("\x07\x07\x10\xFF\xFF", 5) + std::string(3000, 'Z'),
                                   BuildRequestFrame(0x21, 0x80, "582941;").substr(0, 6),
                                   test::Hex({0x01, 0xFF, 0x21, 0xA7}) + std::string(100, '1'),
                                   BuildRequestFrame(0x21, 0xA7, "582941;1;1;0;")}) {
    Client client(host, port);
    client.Send(":4000000001:");
    ASSERT_EQ(client.ReadUntil('y'), "Ready");
    client.Send(bytes);
  }  // each closes without reading
  {
    std::vector<std::unique_ptr<Client>> crowd;
    for (int i = 0; i < 12; ++i) crowd.push_back(std::make_unique<Client>(host, port));
    crowd.front()->Send("half");
  }
  Client client(host, port);
  client.Send(":4000000001:");
  ASSERT_EQ(client.ReadUntil('y'), "Ready");
  client.Send(BuildRequestFrame(0x22, 0x80, "582941;"));
  EXPECT_TRUE(test::ReadReplyFrame(client.ReadUntil('\x03'), true).ok);
}

TEST_F(SimServerTest, AClientGoneMidReplyIsLetGoAndTheNextServed) {
  SimOptions options;
  options.registerConfig.faults = {*ParseFault("drip@1")};
  options.timings.dripPause = std::chrono::milliseconds(5);
  const int port = Start("127.0.30.114", options);
  {
    Client gone("127.0.30.114", port);
    gone.Send(":4000000001:");
    ASSERT_EQ(gone.ReadUntil('y'), "Ready");
    gone.Send(BuildRequestFrame(0x21, 0x80, "582941;"));
    ASSERT_EQ(gone.ReadBytes(3).size(), 3u);
  }
  Client next("127.0.30.114", port);
  next.Send(":4000000001:");
  ASSERT_EQ(next.ReadUntil('y'), "Ready");
  next.Send(BuildRequestFrame(0x22, 0x80, "582941;"));
  EXPECT_TRUE(test::ReadReplyFrame(next.ReadUntil('\x03'), true).ok);
}

TEST_F(SimServerTest, AClientThatReadsNothingIsGivenUpAndTheNextServed) {
  SimOptions options;
  options.registerConfig.busySyn = 16 << 20;  // more than the socket buffers hold
  options.timings.sendLimit = std::chrono::milliseconds(200);
  const int port = Start("127.0.30.113", options);
  {
    Client stuck("127.0.30.113", port);
    stuck.Send(":4000000001:");
    ASSERT_EQ(stuck.ReadUntil('y'), "Ready");
    stuck.Send(BuildRequestFrame(0x21, 0x80, "582941;"));
    Client next("127.0.30.113", port);
    next.Send(":4000000001:");
    EXPECT_EQ(next.ReadUntil('y'), "Ready") << "still held by the client that reads nothing";
  }
}

TEST(SimGenerate, GeneratedJournalLoadsWithTheToolsLoader) {
  JournalOptions options;
  options.receipts = 300;
  options.zReports = 5;
  options.seed = 42;
  const GeneratedJournal generated = GenerateJournal(options);
  const Journal journal = Journal::FromText(generated.xml);
  EXPECT_EQ(journal.size(), static_cast<std::size_t>(generated.receipts + generated.zReports));
  ASSERT_NE(journal.Find(DocumentKind::kReceipt, generated.lastReceiptNumber), nullptr);
  ASSERT_NE(journal.Find(DocumentKind::kZReport, generated.lastZNumber), nullptr);
  morvek::test::RecordingUi ui;
  Application app(ui);
  TForm53& window = app.Form53;
  EXPECT_NO_THROW(window.LoadDocument(generated.xml));
  EXPECT_EQ(window.rq.check_no_max, generated.lastReceiptNumber);
  // Each served document alone, as the tool assembles what it fetched.
  std::string assembled = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (std::size_t i = 0; i < journal.size(); ++i)
    assembled += std::string(journal.Text(journal.document(i))) + "\r\n";
  assembled += "</RQ>";
  Application appAgain(ui);
  TForm53& again = appAgain.Form53;
  EXPECT_NO_THROW(again.LoadDocument(assembled));
  EXPECT_EQ(again.rq.check_no_max, generated.lastReceiptNumber);
}

#ifdef MORVEK_SIM
// The program started with its arguments, standard output read up to its listening line; killed
// at the end unless it has been reaped.
class RunningSim {
 public:
  explicit RunningSim(std::vector<std::string> args) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    args.insert(args.begin(), MORVEK_SIM);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid, MORVEK_SIM, &actions, nullptr, argv.data(), environ) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    pollfd readable{out[0], POLLIN, 0};
    char c = 0;
    while (pid > 0 && line.find('\n') == std::string::npos && ::poll(&readable, 1, 10000) == 1 &&
           ::read(out[0], &c, 1) == 1)
      line += c;
    ::close(out[0]);
  }
  ~RunningSim() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
  // The port the listening line names; 0 when there is none.
  int Port() const {
    const std::size_t colon = line.rfind(':');
    return colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
  }

  pid_t pid = 0;
  std::string line;
};

// The program: it prints its listening line, serves, and ends on SIGTERM.
TEST(SimProgram, ListensAnswersAndEndsOnSigterm) {
  RunningSim sim({"--protocol", "datecs", "--host", "127.0.30.109", "--port", "0", "--generate",
                  "30", "--days", "2"});
  ASSERT_GT(sim.pid, 0);
  const int port = sim.Port();
  ASSERT_GT(port, 0) << sim.line;
  {
    Client client("127.0.30.109", port);
    client.Send(std::string("ZD0000001", 9));
    ASSERT_EQ(client.ReadUntil('y'), "Ready");
    client.Send(BuildRequestFrame(0x21, 0x5A, "0"));
    EXPECT_TRUE(test::ReadReplyFrame(client.ReadUntil('\x03'), false).ok);
  }
  ASSERT_EQ(::kill(sim.pid, SIGTERM), 0);
  int status = 0;
  for (int i = 0; i < 100 && ::waitpid(sim.pid, &status, WNOHANG) == 0; ++i) ::usleep(50000);
  ASSERT_TRUE(WIFEXITED(status)) << "still running or killed";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  sim.pid = 0;
}

// The program behind a slow line: "Ready" comes no sooner than the latency, whole.
TEST(SimProgram, LatencyAndBandwidthSlowTheAnswers) {
  RunningSim sim({"--protocol", "zelmar", "--host", "127.0.31.54", "--port", "0", "--latency",
                  "200", "--bandwidth", "64", "--quiet"});
  const int port = sim.Port();
  ASSERT_GT(port, 0) << sim.line;
  Client client("127.0.31.54", port);
  const auto start = std::chrono::steady_clock::now();
  client.Send(":4000000001:");
  EXPECT_EQ(client.ReadUntil('y'), "Ready");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

// The program's usage errors: each ends with 2 and a line on standard error, before it listens.
using morvek::test::UsageCase;

class SimProgramUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(SimProgramUsage, ExitsTwoWithAMessageAndServesNothing) {
  morvek::test::TempDir dir;
  std::vector<std::string> args = {"--host", "127.0.30.110", "--once"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const morvek::test::CliResult result = morvek::test::RunProgram(MORVEK_SIM, dir.path(), args);
  EXPECT_EQ(result.exitCode, 2) << result.err;
  EXPECT_NE(result.err, "");
  EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    , SimProgramUsage,
    testing::Values(
        UsageCase{"NoProtocol", {"--generate", "5"}},
        UsageCase{"UnknownProtocol", {"--protocol", "ikc"}},
        UsageCase{"PortOutOfRange", {"--protocol", "datecs", "--port", "65536"}},
        UsageCase{"PortNotANumber", {"--protocol", "datecs", "--port", "x"}},
        UsageCase{"JournalAndGenerate",
                  {"--protocol", "datecs", "--journal", "j.xml", "--generate", "5"}},
        UsageCase{"FiscalNumberAndIdDev",
                  {"--protocol", "zelmar", "--fiscal-number", "1", "--id-dev", "ZL1"}},
        UsageCase{"StartDateNotADate", {"--protocol", "datecs", "--start-date", "2024-01-09"}},
        UsageCase{"FaultRateAboveOne", {"--protocol", "datecs", "--fault-rate", "1.5"}},
        UsageCase{"UnknownOption", {"--protocol", "datecs", "--bogus"}},
        UsageCase{"UnreadableFault", {"--protocol", "datecs", "--fault", "nak"}},
        UsageCase{"UnknownFaultKind", {"--protocol", "datecs", "--fault-kinds", "syn,boom"}},
        UsageCase{"UnreadableFirmware", {"--protocol", "datecs", "--firmware", "2015"}},
        UsageCase{"LatencyNegative", {"--protocol", "datecs", "--latency=-1"}},
        UsageCase{"LatencyNotANumber", {"--protocol", "datecs", "--latency", "50ms"}},
        UsageCase{"LatencyAboveAMinute", {"--protocol", "datecs", "--latency", "60001"}},
        UsageCase{"BandwidthNegative", {"--protocol", "zelmar", "--bandwidth", "-64"}},
        UsageCase{"BandwidthNotANumber", {"--protocol", "zelmar", "--bandwidth", "fast"}},
        UsageCase{"BandwidthFraction", {"--protocol", "zelmar", "--bandwidth", "9.6"}}),
    [](const testing::TestParamInfo<UsageCase>& param) { return std::string(param.param.name); });
#endif

}  // namespace
}  // namespace morvek::sim
