// morvek-cli's commands against a register: each run as a child process that connects to an
// in-process simulator on a loopback address of its own, as the connect button does.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "sim/sim_server.h"
#include "test_support.h"

namespace morvek::test {
namespace {

const std::string kSample = MORVEK_SOURCE_DIR "/data/sample-journal.xml";

class NetworkCommands : public ::testing::Test {
 protected:
  // A register of the protocol serving the sample journal on 127.0.50.<host>.
  // faults: as morvek-sim takes them, counted from the register check of the connect.
  void Serve(sim::Protocol protocol, int host, const std::string& firmware = "Nov 12 2014",
             const std::vector<std::string>& faults = {}) {
    address_ = "127.0.50." + std::to_string(host);
    sim::SimOptions options;
    options.host = address_;
    options.port = 0;
    options.registerConfig.protocol = protocol;
    options.registerConfig.firmware = firmware;
    for (const std::string& fault : faults)
      options.registerConfig.faults.push_back(*sim::ParseFault(fault));
    options.fiscalNumber = "3000567412";
    server_ = std::make_unique<sim::SimServer>(
        options, std::make_shared<const sim::Journal>(sim::Journal::FromText(ReadFile(kSample))),
        log_);
    port_ = server_->Start();
  }

  std::vector<std::string> Connection(const std::string& protocol) const {
    return {"--host",     address_, "--port",          std::to_string(port_),
            "--protocol", protocol, "--fiscal-number", "3000567412"};
  }

  CliResult Cli(const std::string& command, const std::string& protocol,
                const std::vector<std::string>& rest) {
    std::vector<std::string> args{command};
    for (const auto& a : Connection(protocol)) args.push_back(a);
    args.insert(args.end(), rest.begin(), rest.end());
    return RunCli(dir_.path(), args);
  }

  TempDir dir_;
  sim::SimLog log_{nullptr};
  std::unique_ptr<sim::SimServer> server_;
  std::string address_;
  int port_ = 0;
};

TEST_F(NetworkCommands, FetchPrintsWhatRenderPrintsForTheSameDocuments) {
  for (const std::string protocol : {"datecs", "zelmar"}) {
    Serve(protocol == "datecs" ? sim::Protocol::kDatecs : sim::Protocol::kZelmar, 1);
    const CliResult fetched = Cli("fetch", protocol, {"--type", "receipt", "1519", "1523"});
    const CliResult rendered =
        RunCli(dir_.path(), {"render", "--type", "receipt", kSample, "1519", "1523"});
    EXPECT_EQ(fetched.exitCode, 0) << protocol << ": " << fetched.err;
    EXPECT_EQ(fetched.out, rendered.out) << protocol;
    EXPECT_NE(fetched.out.find("1523"), std::string::npos);
    server_->Stop();
  }
}

// The archive the settings file names takes each document once; what it shows of one is what the
// window shows of it.
TEST_F(NetworkCommands, FetchStoreKeepsEachDocumentOnceInTheArchiveTheSettingsName) {
  Serve(sim::Protocol::kDatecs, 3);
  WriteFile(dir_.File("morvek.ini"), "[Archive]\r\nPath=tapes.sqlite\r\n");
  const CliResult first = Cli("fetch", "datecs", {"--store", "--type", "receipt", "1519", "1523"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_NE(first.err.find("5 stored, 0 held"), std::string::npos) << first.err;
  const CliResult again = Cli("fetch", "datecs", {"--store", "--type", "both", "1519", "1523"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(again.err.find("0 stored, 5 held"), std::string::npos) << again.err;
  EXPECT_TRUE(std::filesystem::exists(dir_.File("tapes.sqlite")));

  const CliResult shown = RunCli(dir_.path(), {"archive", "show", "3000567412", "1521"});
  const CliResult rendered =
      RunCli(dir_.path(), {"render", "--type", "receipt", kSample, "1521", "1521"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_EQ(shown.out, rendered.out);
}

TEST_F(NetworkCommands, FetchSavesTheListWhereOutSays) {
  Serve(sim::Protocol::kZelmar, 2);
  const CliResult r = Cli("fetch", "zelmar", {"--out", "tape", "--type", "z", "87", "89"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string saved = ReadFile(dir_.File("tape.txt"));
  EXPECT_NE(saved.find("\r\n"), std::string::npos);
  EXPECT_NE(saved.find(W("Z-звіт")), std::string::npos) << saved;
}

TEST_F(NetworkCommands, StatusPrintsThePanelsAndTheFirmwareGate) {
  Serve(sim::Protocol::kZelmar, 3, "Dec  4 2015");
  const CliResult recent = Cli("status", "zelmar", {});
  ASSERT_EQ(recent.exitCode, 0) << recent.err;
  const std::vector<std::string> lines = [&] {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t nl; (nl = recent.out.find('\n', at)) != std::string::npos; at = nl + 1)
      out.push_back(recent.out.substr(at, nl - at));
    return out;
  }();
  ASSERT_EQ(lines.size(), 5u) << recent.out;
  EXPECT_EQ(lines[3], "Dec  4 2015");
  EXPECT_EQ(lines[4], "firmware gate: passed");
  server_->Stop();

  Serve(sim::Protocol::kDatecs, 4, "Nov 30 2015");
  const CliResult old = Cli("status", "datecs", {});
  ASSERT_EQ(old.exitCode, 0) << old.err;
  EXPECT_NE(old.out.find("firmware gate: not passed"), std::string::npos) << old.out;
}

// The exit status tells what became of the request, never what its list reads; what was not
// delivered is named on standard error.
TEST_F(NetworkCommands, ExitStatusComesFromTheOutcome) {
  struct Case {
    bool zelmar;
    const char* fault;    // request 1 is the register check of the connect
    const char* command;  // the words after the connection options
    int status;
    const char* err;  // a line of standard error
  };
  const Case cases[] = {
      {false, "", "fetch 1523 1519", 2, "Конечный номер должен быть не меньше начального!"},
      {false, "", "print --yes 15x 16", 2, "not a number: 15x"},
      {true, "", "fetch --type receipt 1528 1531", 0,
       "morvek-cli: receipts 1530 to 1531: absent at the register: the register answered with an "
       "error (status 0C07)"},
      {true, "status@3=0CD0", "fetch --type receipt 1519 1520", 3,
       "morvek-cli: receipt 1519: lost: cut short after some fragments (status 0CD0)"},
      {false, "nak@2", "fetch --type receipt 1519 1519", 3,
       "morvek-cli: receipt 1519: lost: the register did not take the request (NAK)"},
      {false, "", "fetch-date 14.03.16 00:00 13.03.16 23:59", 2,
       "Конечная дата должна быть не меньше начальной!"},
      {false, "", "fetch-date 1.03.16 00:00 13.03.16 23:59", 2, "not DD.MM.YY"},
      {true, "", "fetch-date 01.01.10 00:00 02.01.10 00:00", 1, ""},
      {true, "", "numbers 01.01.10 00:00 02.01.10 00:00", 1, "Error: РРО вернул ошибку:0C06"},
      {true, "status@2=0CD0", "print --yes 1519 1520", 1, "РРО вернул ошибку:0CD0"},
      {false, "status@2", "print --yes 1519 1520", 1, "Команда не разрешена"},
  };
  int host = 20;
  for (const Case& c : cases) {
    Serve(c.zelmar ? sim::Protocol::kZelmar : sim::Protocol::kDatecs, host++, "Nov 12 2014",
          *c.fault ? std::vector<std::string>{c.fault} : std::vector<std::string>{});
    std::vector<std::string> words;
    std::istringstream line(c.command);
    for (std::string word; line >> word;) words.push_back(word);
    const std::string command = words.front();
    words.erase(words.begin());
    const CliResult r = Cli(command, c.zelmar ? "zelmar" : "datecs", words);
    EXPECT_EQ(r.exitCode, c.status) << c.command << ": " << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.command << ": " << r.err;
    server_->Stop();
  }
}

TEST_F(NetworkCommands, NoServerIsAConnectionFailure) {
  // Nothing listens on this address and port.
  address_ = "127.0.50.6";
  port_ = 9;
  const CliResult r = Cli("status", "datecs", {});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Сервер не отвечает, проверьте IP адрес"), std::string::npos) << r.err;
}

TEST_F(NetworkCommands, AnotherRegisterIsRefusedByTheServer) {
  Serve(sim::Protocol::kZelmar, 7);
  const CliResult r =
      RunCli(dir_.path(), {"status", "--host", address_, "--port", std::to_string(port_),
                           "--protocol", "zelmar", "--fiscal-number", "3000000000"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("проверьте настройки РРО"), std::string::npos) << r.err;
}

TEST_F(NetworkCommands, NumbersPrintsTheIntervalOfADateRange) {
  Serve(sim::Protocol::kZelmar, 8);
  const CliResult r = Cli("numbers", "zelmar", {"14.03.16", "00:00", "14.03.16", "23:59"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "1517\n1524\n");
}

TEST_F(NetworkCommands, FetchByDateShowsTheDocumentsOfTheInterval) {
  Serve(sim::Protocol::kDatecs, 9);
  const CliResult r =
      Cli("fetch-date", "datecs", {"--type", "receipt", "14.03.16", "00:00", "14.03.16", "23:59"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("1524"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("1525"), std::string::npos) << r.out;
}

TEST_F(NetworkCommands, PrintWithoutYesSendsNothing) {
  Serve(sim::Protocol::kDatecs, 10);
  const CliResult no = Cli("print", "datecs", {"1519", "1520"});
  EXPECT_EQ(no.exitCode, 0) << no.err;
  EXPECT_NE(no.err.find("[no]"), std::string::npos);
  const CliResult yes = Cli("print", "datecs", {"--yes", "1519", "1520"});
  EXPECT_EQ(yes.exitCode, 0) << yes.err;
}

TEST_F(NetworkCommands, HostComesFromTheSettingsFileWhenNotGiven) {
  Serve(sim::Protocol::kDatecs, 11);
  WriteFile(dir_.File("morvek.ini"), "[Connection]\r\nIPAddres=" + address_ + "\r\n");
  const CliResult r = RunCli(
      dir_.path(), {"status", "--port", std::to_string(port_), "--fiscal-number", "3000567412"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(NetworkCommands, MissingIdentityIsAUsageError) {
  const CliResult r = RunCli(dir_.path(), {"status", "--host", "127.0.50.12"});
  EXPECT_EQ(r.exitCode, 2);
}

TEST_F(NetworkCommands, FetchOfZReportsShowsEveryOneOfTheRange) {
  Serve(sim::Protocol::kDatecs, 13);
  const CliResult r = Cli("fetch", "datecs", {"--type", "z", "87", "89"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // The three Z-reports, as the terminal prints them: UTF-8 with LF line ends.
  std::string expected =
      ReadFile(MORVEK_SOURCE_DIR "/tests/golden/expected/ZReportsWholeJournal.txt");
  std::erase(expected, '\r');
  EXPECT_EQ(r.out, U(expected));
}

}  // namespace
}  // namespace morvek::test
