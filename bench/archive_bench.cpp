// Times the archive on generated journals:
//   ParseLoad       the existing pipeline's parse and load of the journal text into the model
//   Read            the journal read into the archive's document records
//   Import          read + stored into a fresh SQLite file in batches of 5,000 documents, as
//                   "morvek-cli archive import" does (100,000 receipts unless told otherwise)
//   FindText/...    a text search in an archive of some 250,000 receipts (about 1,000,000 item
//                   and text lines), built once in a temporary file before the timing
// After the timing the ratio of Import to ParseLoad is printed (the goal: within 2x) and the peak
// memory (an import holds a file's records whole before it stores them); each search's median is
// in the table (the goal: under 50 ms).
//
// Own options (the benchmark library's follow them): --import-receipts=N --search-receipts=N, and
// --search-archive=FILE to keep the search archive in FILE (built when it does not exist yet).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/sqlite_archive.h"
#include "archive/storable.h"
#include "archive/store_in_batches.h"
#include "bench/median_reporter.h"
#include "journal/loader.h"
#include "journal/typ_work.h"
#include "sim/journal_generator.h"

namespace morvek {
namespace {

constexpr std::size_t kBatch = 5000;
int g_importReceipts = 100000, g_searchReceipts = 250000;
GeneratedJournal g_journal;
std::string g_folder, g_searchArchive;

void RemoveArchive(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

void ParseLoad(benchmark::State& state) {
  for (auto _ : state) {
    rq model;
    model.Clear();
    control cursor;
    cursor.Reset();
    LoadJournalText(model, cursor, g_journal.xml);
    benchmark::DoNotOptimize(model.doc_index);
  }
}

void Read(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadStorableDocuments(g_journal.xml).size());
}

void Import(benchmark::State& state) {
  const std::string path = g_folder + "/import.sqlite";
  long long stored = 0;
  for (auto _ : state) {
    {
      SqliteArchive archive(path);
      stored =
          StoreInBatches(archive, ReadStorableDocuments(g_journal.xml), Arrival::kImported, kBatch)
              .stored;
    }
    state.PauseTiming();
    RemoveArchive(path);
    state.ResumeTiming();
  }
  if (stored != g_journal.receipts + g_journal.zReports) state.SkipWithError("documents lost");
  state.counters["documents"] = static_cast<double>(stored);
}

// A search as "archive find --text" makes it, with the documents it found as a counter.
void FindText(benchmark::State& state, FindQuery query) {
  SqliteArchive archive(g_searchArchive);
  std::size_t found = 0;
  for (auto _ : state) found = archive.Find(query).size();
  state.counters["found"] = static_cast<double>(found);
}

// A search for the words, within one day and of one register when they are given.
FindQuery TextQuery(const std::string& words, const std::string& day = "",
                    const std::string& registerKey = "") {
  FindQuery query;
  query.text = words;
  query.registerKey = registerKey;
  if (!day.empty()) query.from = day + " 00:00:00", query.to = day + " 23:59:59";
  return query;
}

// The search archive: journals of 50,000 receipts one after the other, one register.
bool BuildSearchArchive() {
  if (g_searchArchive.empty()) g_searchArchive = g_folder + "/search.sqlite";
  const bool built = std::filesystem::exists(g_searchArchive);
  SqliteArchive archive(g_searchArchive);
  constexpr int kPiece = 50000;
  for (int done = 0; !built && done < g_searchReceipts; done += kPiece) {
    const GeneratedJournal piece =
        GenerateJournal({.receipts = std::min(kPiece, g_searchReceipts - done),
                         .zReports = kPiece / 33,
                         .seed = 77,
                         .firstReceiptNumber = done + 1,
                         .firstZNumber = done / 33 + 1,
                         .firstDocumentId = done + done / 33 + 1});
    StoreInBatches(archive, ReadStorableDocuments(piece.xml), Arrival::kImported, kBatch);
  }
  const long long documents = archive.connection().QueryInt("SELECT count(*) FROM documents");
  const long long lines = archive.connection().QueryInt(
      "SELECT (SELECT count(*) FROM items) + (SELECT count(*) FROM text_lines)");
  std::printf("search archive: %lld documents, %lld item and text lines, %.1f MiB\n", documents,
              lines,
              static_cast<double>(std::filesystem::file_size(g_searchArchive)) / (1024.0 * 1024));
  return documents > 0;
}

bool TakeOption(const char* arg, const char* name, std::string& value) {
  const std::size_t n = std::strlen(name);
  if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
  value = arg + n + 1;
  return true;
}

bool TakeOption(const char* arg, const char* name, int& value) {
  std::string text;
  if (!TakeOption(arg, name, text)) return false;
  value = std::stoi(text);
  return true;
}

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i)
    if (!TakeOption(argv[i], "--import-receipts", g_importReceipts) &&
        !TakeOption(argv[i], "--search-receipts", g_searchReceipts) &&
        !TakeOption(argv[i], "--search-archive", g_searchArchive))
      rest.push_back(argv[i]);
  int restCount = static_cast<int>(rest.size());
  rest.push_back(nullptr);
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;

  std::string pattern = (std::filesystem::temp_directory_path() / "morvek-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return std::perror("mkdtemp"), 1;
  g_folder = pattern;
  g_journal = GenerateJournal(
      {.receipts = g_importReceipts, .zReports = g_importReceipts / 33, .seed = 20240109});
  std::printf("import journal: %d receipts, %d Z-reports, %.1f MiB of XML\n", g_journal.receipts,
              g_journal.zReports, static_cast<double>(g_journal.xml.size()) / (1024.0 * 1024));
  const bool ok = BuildSearchArchive();
  if (ok) {
    using Stage = void (*)(benchmark::State&);
    const std::pair<const char*, Stage> stages[] = {
        {"ParseLoad", ParseLoad}, {"Read", Read}, {"Import", Import}};
    for (const auto& [name, run] : stages)
      benchmark::RegisterBenchmark(name, run)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(1)
          ->Repetitions(3);
    const std::pair<const char*, FindQuery> searches[] = {
        {"FindText/twoWords", TextQuery("сироп кашлю")},
        {"FindText/common", TextQuery("банани")},
        {"FindText/comment", TextQuery("дякуємо покупку")},
        {"FindText/dayAndText", TextQuery("хліб", "2024-01-10")},
        {"FindText/nothing", TextQuery("ананас")},
        {"FindText/registerAndText",
         TextQuery("банани", "", SqliteArchive(g_searchArchive).Registers().front().fiscalNumber)},
    };
    for (const auto& [name, query] : searches)
      benchmark::RegisterBenchmark(name, FindText, query)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Repetitions(5);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto* parseLoad = reporter.Of("ParseLoad");
    const auto* import = reporter.Of("Import");
    if (parseLoad && import)
      std::printf("import / parse and load: %.2fx real time (%.0f / %.0f ms)\n",
                  import->real / parseLoad->real, import->real, parseLoad->real);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of this process: %.1f MiB\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
  }
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(g_folder, ignored);
  return ok ? 0 : 1;
}
