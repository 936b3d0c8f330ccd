// Times the archive window's reading of an archive of about 1,000,000 documents (ten registers of
// 100,000 generated receipts and 365 daily Z-reports each, in one SQLite file):
//   FirstPage/all          the first page, the totals row and the shift-check marks of every row
//                          of it (ArchiveBrowser::Apply, then the checks it left for later)
//   ShownPage/...          the first page as the window shows it: Apply alone, the checks it
//                          left for later (counter checkedOnShow: the rows checked by then) not
//                          included
//   FirstPage/registerMonth the same for one register over one month
//   NextPage/...           the page after the first, as a scroll asks for it
//   Daily/...              the chart's daily sales and returns
//   FirstPage/text         with a word of an item name (a full-text filter) over one month
//   FirstPage/zReports     Z-reports alone, a shift to check for each row
// The goal: the first page with its totals and marks within 200 ms. The archive is built once
// and kept (build/bench/archive-window-1m.sqlite, or --archive=FILE), so that reruns are quick.
#include <benchmark/benchmark.h>

// Filters name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive_browser.h"
#include "archive/sqlite_archive.h"
#include "archive/storable.h"
#include "archive/store_in_batches.h"
#include "bench/median_reporter.h"
#include "sim/journal_generator.h"

namespace morvek {
namespace {

constexpr int kRegisters = 10, kReceipts = 100000, kDays = 365;
std::string g_archive;

std::string FiscalNumber(int register_) {
  return std::to_string(4000000001LL + register_);
}

// Each register's journal generated and stored in turn, in batches as a collector stores them.
void BuildArchive() {
  const auto start = std::chrono::steady_clock::now();
  SqliteArchive archive(g_archive);
  for (int r = 0; r < kRegisters; ++r) {
    const GeneratedJournal journal = GenerateJournal({.receipts = kReceipts,
                                                      .zReports = kDays,
                                                      .seed = static_cast<std::uint64_t>(500 + r),
                                                      .fiscalNumber = FiscalNumber(r),
                                                      .firstYear = 2024,
                                                      .firstMonth = 1,
                                                      .firstDay = 1});
    StoreInBatches(archive, ReadStorableDocuments(journal.xml), Arrival::kImported, 5000);
    std::printf("register %d of %d stored\n", r + 1, kRegisters);
  }
  std::printf("built in %.0f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

ArchiveFilter AllDocuments() {
  return {};
}

ArchiveFilter RegisterMonth() {
  return {.registerKey = FiscalNumber(3), .from = "01.03.24", .to = "31.03.24"};
}

// Z-reports alone: each row closes a shift of its own, so the page's marks read 200 shifts.
ArchiveFilter ZReports() {
  return {.kind = 5};
}

ArchiveFilter TextMonth() {
  return {.from = "01.03.24", .to = "31.03.24", .text = "банани"};
}

// The first page with its totals and every row's mark, those the page left for later included.
void FirstPage(benchmark::State& state, ArchiveFilter filter) {
  ArchiveBrowser browser(OpenArchive(g_archive));
  std::size_t checkedOnShow = 0;
  for (auto _ : state) {
    if (!browser.Apply(filter)) state.SkipWithError(browser.error().c_str());
    checkedOnShow = browser.CheckedRows();
    while (browser.MarksPending()) browser.CheckMarks(std::chrono::milliseconds(50));
  }
  state.counters["rows"] = static_cast<double>(browser.rows().size());
  state.counters["checkedOnShow"] = static_cast<double>(checkedOnShow);
  state.counters["documents"] = static_cast<double>(browser.totals().documents);
}

// The first page as the window shows it: the marks its time allowed, the rest still to come.
void ShownPage(benchmark::State& state, ArchiveFilter filter) {
  ArchiveBrowser browser(OpenArchive(g_archive));
  for (auto _ : state)
    if (!browser.Apply(filter)) state.SkipWithError(browser.error().c_str());
  state.counters["checkedOnShow"] = static_cast<double>(browser.CheckedRows());
}

void NextPage(benchmark::State& state, ArchiveFilter filter) {
  ArchiveBrowser browser(OpenArchive(g_archive));
  for (auto _ : state) {
    state.PauseTiming();
    browser.Apply(filter);
    state.ResumeTiming();
    benchmark::DoNotOptimize(browser.FetchMore());
  }
}

void Daily(benchmark::State& state, ArchiveFilter filter) {
  ArchiveBrowser browser(OpenArchive(g_archive));
  browser.Apply(filter);
  std::size_t points = 0;
  for (auto _ : state) points = browser.Daily().size();
  state.counters["points"] = static_cast<double>(points);
}

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  std::vector<char*> rest{argv[0]};
  g_archive =
      (std::filesystem::absolute(argv[0]).parent_path() / "archive-window-1m.sqlite").string();
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--archive=", 10) == 0)
      g_archive = argv[i] + 10;
    else
      rest.push_back(argv[i]);
  int restCount = static_cast<int>(rest.size());
  rest.push_back(nullptr);
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;

  if (!std::filesystem::exists(g_archive)) BuildArchive();
  {
    SqliteArchive archive(g_archive);
    std::printf("archive %s: %lld documents\n", g_archive.c_str(),
                archive.connection().QueryInt("SELECT count(*) FROM documents"));
  }
  const std::pair<const char*, ArchiveFilter> filters[] = {{"all", AllDocuments()},
                                                           {"registerMonth", RegisterMonth()},
                                                           {"text", TextMonth()},
                                                           {"zReports", ZReports()}};
  for (const auto& [name, filter] : filters) {
    const std::string suffix = std::string("/") + name;
    benchmark::RegisterBenchmark(("FirstPage" + suffix).c_str(), FirstPage, filter)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    benchmark::RegisterBenchmark(("ShownPage" + suffix).c_str(), ShownPage, filter)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(3);
    benchmark::RegisterBenchmark(("NextPage" + suffix).c_str(), NextPage, filter)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(3);
    benchmark::RegisterBenchmark(("Daily" + suffix).c_str(), Daily, filter)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(3);
  }
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* name : {"FirstPage/all", "FirstPage/registerMonth"})
    if (const auto* times = reporter.Of(name))
      std::printf("%s: %.1f ms (goal: within 200 ms)\n", name, times->real);
  benchmark::Shutdown();
  return 0;
}
