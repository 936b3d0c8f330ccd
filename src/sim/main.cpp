// morvek-sim: the remote-access server and a simulated register, for trying the tool without one.
//
// By hand:
//   morvek-sim --protocol zelmar --generate 500 --days 5 --fiscal-number 4000000001
//     a Zelmar register on 127.0.0.1:34951 serving 500 made-up receipts; connect the tool with
//     "Фиск. номер" 4000000001 (any identity when neither --fiscal-number nor --id-dev is given)
//   morvek-sim --protocol datecs --journal temp.xml --block --log exchange.log
//     a Datecs register on 127.0.0.1:34950 with recent firmware (block transfer) serving temp.xml
//   morvek-sim --protocol zelmar --port 0 --fault nak@2 --fault status@5=0CD0 --once
//     any free port (printed on the first line of standard output), two faults, one connection
//   morvek-sim --protocol datecs --host 127.0.0.5 --generate 2000 --fiscal-number 4000000005
//              --start-date 01.03.24 --fault gone@900
//     one register of a fleet: its journal carries the fiscal number it is announced by and
//     begins on 1 March 2024; at the 900th request the server goes away
//   morvek-sim --protocol datecs --block --latency 150 --bandwidth 64
//     a register behind a slow line: 150 ms before each answer, 64 kbit/s for its bytes
#include <CLI/CLI.hpp>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "platform/date_time.h"
#include "platform/program_version.h"
#include "sim/journal_generator.h"
#include "sim/sim_server.h"

namespace {

morvek::sim::SimServer* gServer = nullptr;

// The faults the tool gets over without losing a document, for long runs at random.
std::vector<morvek::sim::FaultKind> RecoverableFaults(const morvek::sim::RegisterConfig& device) {
  using morvek::sim::FaultKind;
  if (device.block || morvek::sim::FirmwareAllowsBlocks(device.firmware))
    return {FaultKind::kSplit};
  if (device.protocol == morvek::sim::Protocol::kDatecs)
    return {FaultKind::kSynBurst, FaultKind::kSplit, FaultKind::kWrongCommand};
  // A foreign Zelmar reply (seq, command) is got over too, but only after the tool's 50 empty
  // reads of 60 s: no use in a long run.
  return {FaultKind::kSynBurst, FaultKind::kNak, FaultKind::kSplit};
}

void OnSignal(int) {
  if (gServer != nullptr) gServer->RequestStop();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvek::sim;
  CLI::App app{"morvek-sim: a remote-access server with a simulated fiscal register"};
  app.set_version_flag("--version", morvek::VersionLine("morvek-sim"));
  std::string protocol;
  SimOptions options;
  std::string journalPath, writeJournal, logPath, firmware;
  int generate = 0, days = 3;
  std::string startDate;
  std::uint64_t seed = 1;
  std::vector<std::string> faults;
  std::string faultKinds;
  bool quiet = false;
  int latencyMs = 0;
  RegisterConfig& device = options.registerConfig;
  app.add_option("--protocol", protocol, "datecs or zelmar")
      ->required()
      ->check(CLI::IsMember({"datecs", "zelmar"}));
  app.add_option("--host", options.host, "address to listen on")->capture_default_str();
  app.add_option("--port", options.port, "port (default 34950 Datecs, 34951 Zelmar; 0 any)")
      ->check(CLI::Range(0, 65535));
  auto* journal = app.add_option("--journal", journalPath, "journal file such as temp.xml");
  auto* generated =
      app.add_option("--generate", generate, "make up a journal of N receipts")->excludes(journal);
  app.add_option("--seed", seed, "seed of the made-up journal")->capture_default_str();
  app.add_option("--days", days,
                 "days of the made-up journal, each closed by a Z-report, then the day still open")
      ->capture_default_str();
  app.add_option("--start-date", startDate,
                 "DD.MM.YY: the first day of the made-up journal (default 09.01.24)")
      ->check(CLI::Validator(
          [](const std::string& text) {
            return morvek::ReadCalendarDay(text) ? std::string() : "not a date DD.MM.YY: " + text;
          },
          "DD.MM.YY"));
  app.add_option("--write-journal", writeJournal, "write the journal served to FILE");
  auto* fiscal = app.add_option("--fiscal-number", options.fiscalNumber,
                                "accept only \":\" + FN + \":\" as announcement");
  app.add_option("--id-dev", options.idDev, "accept only this ID_DEV as announcement")
      ->excludes(fiscal);
  app.add_option("--firmware", firmware, "firmware build date such as \"Dec  4 2015\"");
  app.add_flag("--block", device.block,
               "answer block transfer (firmware \"Dec  4 2015\" unless --firmware says)");
  app.add_option("--fragment-size", device.fragmentSize, "Base64 characters per fragment")
      ->check(CLI::Range(4, 200))
      ->capture_default_str();
  app.add_option("--busy-syn", device.busySyn, "SYN bytes before every reply")
      ->check(CLI::Range(0, 10000));
  app.add_option("--fault", faults, FaultHelp());
  app.add_option("--fault-rate", device.randomFaults.rate,
                 "a fault at random at each request with this probability (0 to 1)")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--fault-seed", device.randomFaults.seed, "seed of the faults at random")
      ->capture_default_str();
  app.add_option("--fault-kinds", faultKinds,
                 "the kinds drawn at random, such as syn,split (default: those the tool gets "
                 "over without losing a document and without long waits: Zelmar syn,nak,split; "
                 "Datecs syn,split,command; block transfer split)");
  app.add_option("--latency", latencyMs,
                 "MS: wait this long before each reply, each block and \"Ready\", as a line with "
                 "that round trip does (0 to 60000, default 0)")
      ->check(CLI::Range(0, 60000));
  app.add_option("--bandwidth", options.line.bandwidthKbit,
                 "KBIT: send at most this many kilobits per second (0 to 1000000; the default "
                 "0: as fast as the socket takes them)")
      ->check(CLI::Range(0, 1000000));
  app.add_option("--log", logPath, "hexadecimal log of the exchanges (default standard error)");
  app.add_flag("--quiet", quiet, "log the events only, not the bytes exchanged");
  app.add_flag("--once", options.once, "serve one connection, then end");
  (void)generated;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Every usage error ends with 2, those the parser finds as those found below.
    return app.exit(e) == 0 ? 0 : 2;
  }

  options.line.latency = std::chrono::milliseconds(latencyMs);
  device.protocol = protocol == "datecs" ? Protocol::kDatecs : Protocol::kZelmar;
  if (!options.fiscalNumber.empty()) device.fiscalNumber = options.fiscalNumber;
  if (!options.idDev.empty()) device.idDev = options.idDev;
  if (!firmware.empty())
    device.firmware = firmware;
  else if (device.block)
    device.firmware = "Dec  4 2015";
  if (DatecsFirmwareDate(device.firmware).empty()) {
    std::cerr << "morvek-sim: --firmware wants a date such as \"Dec  4 2015\"\n";
    return 2;
  }
  for (const std::string& option : faults) {
    const auto fault = ParseFault(option);
    if (!fault) {
      std::cerr << "morvek-sim: not a fault: " << option << "\n";
      return 2;
    }
    device.faults.push_back(*fault);
  }

  if (!faultKinds.empty()) {
    const auto kinds = ParseFaultKinds(faultKinds);
    if (!kinds) {
      std::cerr << "morvek-sim: not a list of fault kinds: " << faultKinds << "\n";
      return 2;
    }
    device.randomFaults.kinds = *kinds;
  } else {
    device.randomFaults.kinds = RecoverableFaults(device);
  }

  std::string text;
  if (!journalPath.empty()) {
    // Read straight into the one string the register serves from: no second copy of the journal.
    std::ifstream in(journalPath, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size >= 0) {
      text.resize(static_cast<std::size_t>(size));
      in.seekg(0);
      in.read(text.data(), size);
    }
    if (size < 0 || !in) {
      std::cerr << "morvek-sim: cannot read " << journalPath << "\n";
      return 1;
    }
  } else {
    morvek::JournalOptions journalOptions;
    journalOptions.receipts = generate > 0 ? generate : 100;
    journalOptions.zReports = days > 0 ? days : 1;
    journalOptions.seed = seed;
    journalOptions.fiscalNumber = options.fiscalNumber;
    if (const auto day = morvek::ReadCalendarDay(startDate)) {
      journalOptions.firstYear = day->year;
      journalOptions.firstMonth = day->month;
      journalOptions.firstDay = day->day;
    }
    text = morvek::GenerateJournal(journalOptions).xml;
  }
  if (!writeJournal.empty()) {
    std::ofstream out(writeJournal, std::ios::binary);
    out << text;
    if (!out.flush()) {
      std::cerr << "morvek-sim: cannot write " << writeJournal << "\n";
      return 1;
    }
  }

  std::FILE* logFile = stderr;
  if (!logPath.empty()) {
    logFile = std::fopen(logPath.c_str(), "a");
    if (logFile == nullptr) {
      std::cerr << "morvek-sim: cannot write " << logPath << "\n";
      return 1;
    }
  }
  try {
    auto served = std::make_shared<const Journal>(Journal::FromText(std::move(text)));
    SimLog log(logFile, !quiet);
    SimServer server(options, served, log);
    const int port = server.Listen();
    gServer = &server;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::cout << "morvek-sim: " << protocol << " register with " << served->size()
              << " documents listening on " << options.host << ":" << port << std::endl;
    server.Serve();
    gServer = nullptr;
  } catch (const std::exception& error) {
    std::cerr << "morvek-sim: " << error.what() << "\n";
    return 1;
  }
  if (logFile != stderr) std::fclose(logFile);
  return 0;
}
