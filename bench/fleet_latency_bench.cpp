// A fleet collected behind slow lines: 20 simulated registers, each behind a line of 50 ms
// latency, half Datecs read by blocks and half Zelmar read by number, brought up to date at once
// (`collect --jobs 20`) into an SQLite archive. The registers work side by side, so the fleet can
// be no quicker than its slowest register: the floor is that register's answers (counted by its
// simulator, one per request/reply pair) times the latency. Prints the time beside that floor.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "archive/archive.h"
#include "collect/collect_dates.h"
#include "collect/fleet_collector.h"
#include "sim/journal_generator.h"
#include "sim/sim_server.h"

namespace morvek {
namespace {

constexpr int kRegisters = 20;
constexpr int kReceipts = 120;
constexpr int kDays = 2;
constexpr int kLatencyMs = 50;
constexpr double kGoal = 1.2;

struct Figures {
  double measuredMs = 0, floorMs = 0;
  long slowestAnswers = 0;
};
Figures gFigures;

class QuietObserver : public CollectObserver {
 public:
  void Started(std::size_t) override {}
  void Progressed(std::size_t, const RegisterProgress&) override {}
  void Finished(std::size_t, const RegisterReport&) override {}
};

// The journal of register i: kReceipts receipts over the last kDays days, each closed by a
// Z-report, and today's shift still open.
std::string JournalOf(int i, const std::string& fiscalNumber, const std::tm& today) {
  JournalOptions journal{.receipts = kReceipts, .zReports = kDays, .seed = 100u + i};
  journal.fiscalNumber = fiscalNumber;
  std::tm first = today;
  first.tm_mday -= kDays;
  std::mktime(&first);
  journal.firstYear = first.tm_year + 1900, journal.firstMonth = first.tm_mon + 1;
  journal.firstDay = first.tm_mday;
  return GenerateJournal(journal).xml;
}

void CollectTheFleet(benchmark::State& state) {
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  sim::SimLog log(nullptr);
  std::vector<std::unique_ptr<sim::SimServer>> servers;
  std::vector<FleetRegister> fleet;
  for (int i = 0; i < kRegisters; ++i) {
    const bool zelmar = i % 2 == 1;
    const std::string fiscalNumber = std::to_string(4000000800LL + i);
    sim::SimOptions options;
    options.host = "127.0.33." + std::to_string(i + 1);
    options.port = 0;
    options.line.latency = std::chrono::milliseconds(kLatencyMs);
    options.registerConfig.protocol = zelmar ? sim::Protocol::kZelmar : sim::Protocol::kDatecs;
    options.registerConfig.fiscalNumber = fiscalNumber;
    options.registerConfig.firmware = zelmar ? "Nov 12 2014" : "Dec  4 2015";
    servers.push_back(std::make_unique<sim::SimServer>(
        options,
        std::make_shared<const sim::Journal>(
            sim::Journal::FromText(JournalOf(i, fiscalNumber, today))),
        log));
    FleetRegister entry;
    entry.name = "Каса " + std::to_string(i + 1);
    entry.host = options.host;
    entry.port = servers.back()->Start();
    entry.protocol = zelmar ? Protocol::kZelmar : Protocol::kDatecs;
    entry.fiscalNumber = fiscalNumber;
    fleet.push_back(entry);
  }

  for (auto _ : state) {
    const std::string archive = (std::filesystem::temp_directory_path() /
                                 ("morvek-fleet-bench-" + std::to_string(::getpid()) + ".sqlite"))
                                    .string();
    std::filesystem::remove(archive);
    OpenArchive(archive);  // created before the workers open it side by side
    CollectOptions options;
    options.archive = archive;
    options.jobs = kRegisters;
    options.now = today;
    options.since = FirstOfPreviousMonth(today);
    std::vector<long> before;
    for (const auto& server : servers) before.push_back(server->answersSent());
    QuietObserver observer;
    const auto start = std::chrono::steady_clock::now();
    const std::vector<RegisterReport> reports = CollectFleet(fleet, options, observer);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count() / 1000.0);
    long slowest = 0;
    for (std::size_t i = 0; i < servers.size(); ++i)
      slowest = std::max(slowest, servers[i]->answersSent() - before[i]);
    long long receipts = 0;
    for (const RegisterReport& report : reports) {
      receipts += report.newReceipts;
      if (report.outcome != RegisterOutcome::kComplete || report.newZReports != kDays)
        state.SkipWithError(("a register was not collected whole: " + report.reason).c_str());
    }
    state.counters["receipts"] = static_cast<double>(receipts);
    gFigures.measuredMs = took.count();
    gFigures.slowestAnswers = slowest;
    gFigures.floorMs = static_cast<double>(slowest) * kLatencyMs;
    state.counters["floor_ms"] = gFigures.floorMs;
    state.counters["ratio"] = gFigures.measuredMs / gFigures.floorMs;
    std::filesystem::remove(archive);
  }
  for (auto& server : servers) server->Stop();
}

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RegisterBenchmark("collect of 20 registers at 50 ms, --jobs 20", CollectTheFleet)
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  const Figures& f = gFigures;
  std::printf(
      "%d registers of %d receipts at %d ms latency: %.0f ms, floor %.0f ms (the slowest "
      "register's "
      "%ld answers x %d ms): %.3fx, goal %.1fx: %s\n",
      kRegisters, kReceipts, kLatencyMs, f.measuredMs, f.floorMs, f.slowestAnswers, kLatencyMs,
      f.floorMs > 0 ? f.measuredMs / f.floorMs : 0.0, kGoal,
      f.floorMs > 0 && f.measuredMs / f.floorMs <= kGoal ? "within" : "OVER");
  benchmark::Shutdown();
  return 0;
}
