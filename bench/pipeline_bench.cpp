// Times the road from the assembled journal text to the rendered list, stage by stage, on a
// generated journal (10 000 receipts and 300 Z-reports unless told otherwise):
//   Parse            the XML parse alone
//   ParseLoad        + the loader filling the model
//   ParseLoadOrder   + ordering by document identifier
//   FullPipeline     + rendering every document (receipts and Z-reports, numbers 1 .. 2147483647)
// Every stage starts from a fresh window and frees what it built, as one request does. Before the
// timing the full pipeline runs once and is checked to show every document of the journal; after
// it the ratio of the full pipeline to the parse alone, both from this run, is printed.
//
// Own options (the benchmark library's follow them): --receipts=N --zreports=N --seed=S, and
// --journal-out=FILE to write the journal and stop.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "codec/cp1251.h"
#include "platform/silent_ui.h"
#include "platform/xml_document.h"
#include "render/ordering.h"
#include "render/renderer.h"
#include "sim/journal_generator.h"

namespace morvek {
namespace {

JournalOptions g_options{.receipts = 10000, .zReports = 300, .seed = 20240109};
GeneratedJournal g_journal;
std::string g_folder;  // holds the error log; a failing document would leave it there

std::string ErrorLogPath() {
  return g_folder + "/error.log";
}

// A request window as a request by number leaves it before its processing step.
struct Window {
  Window() {
    form.errorLogPath = ErrorLogPath();
    form.FormCreate();
    form.control.Reset();
    form.SetRequest(kTypeBoth, 1, INT_MAX);
  }
  SilentUi ui;
  Application app{ui};
  TForm53& form = app.Form53;
};

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Finish(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(g_journal.xml.size()));
  state.counters["peak_rss_MiB"] = static_cast<double>(PeakRssKiB()) / 1024.0;
}

void Parse(benchmark::State& state) {
  for (auto _ : state) {
    const XmlDocument document = XmlDocument::Parse(g_journal.xml);
    benchmark::DoNotOptimize(document.DocumentElement());
  }
  Finish(state);
}

void ParseLoad(benchmark::State& state) {
  for (auto _ : state) {
    Window w;
    w.form.LoadDocument(g_journal.xml);
    benchmark::DoNotOptimize(w.form.rq.doc_index);
  }
  Finish(state);
}

void ParseLoadOrder(benchmark::State& state) {
  for (auto _ : state) {
    Window w;
    w.form.LoadDocument(g_journal.xml);
    OrderDocuments(w.form.rq);
    benchmark::DoNotOptimize(w.form.rq.doc_index);
  }
  Finish(state);
}

void FullPipeline(benchmark::State& state) {
  std::size_t lines = 0;
  for (auto _ : state) {
    Window w;
    if (!w.form.ShowAssembled(g_journal.xml)) state.SkipWithError("the request failed");
    lines = w.form.ListBox2.lines.size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = static_cast<double>(lines);
  Finish(state);
}

BENCHMARK(Parse)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ParseLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ParseLoadOrder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FullPipeline)->Unit(benchmark::kMillisecond)->UseRealTime();

std::size_t LiveHeap() {
  return mallinfo2().uordblks;
}

double MiB(std::size_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

int Count(const LineList& lines, std::string_view prefix) {
  int n = 0;
  for (const auto& line : lines)
    if (std::string_view(line).substr(0, prefix.size()) == prefix) ++n;
  return n;
}

// Runs the stages once, reports the heap each one holds, and checks that every document was
// shown without failure. False when the check fails: the timing would then measure less work.
bool CheckOnce() {
  const std::size_t base = LiveHeap();
  std::size_t parsed = 0, loaded = 0, rendered = 0;
  LineList lines;
  bool shown = false;
  {
    Window w;
    {
      const XmlDocument document = XmlDocument::Parse(g_journal.xml);
      parsed = LiveHeap() - base;
    }
    w.form.LoadDocument(g_journal.xml);  // a child of the root at a time: no whole tree held
    loaded = LiveHeap() - base;
    w.form.rq.Clear();  // load again the way the request does, into a clean model
    w.form.control.Reset();
    shown = w.form.ShowAssembled(g_journal.xml);
    rendered = LiveHeap() - base;
    lines = std::move(w.form.ListBox2.lines);
  }
  const int documents = Count(lines, "          ДП \"Компанія VERNO\""_cp);
  const int zReports = Count(lines, "           Z-звіт N "_cp);
  std::printf("journal: %d receipts, %d Z-reports, %.1f MiB of XML\n", g_journal.receipts,
              g_journal.zReports, MiB(g_journal.xml.size()));
  std::printf("rendered: %zu lines, %d documents (%d Z-reports)\n", lines.size(), documents,
              zReports);
  std::printf(
      "live heap: a whole XML tree %.1f MiB (not held by the load); model %.1f MiB; model + %zu "
      "lines %.1f MiB\n",
      MiB(parsed), MiB(loaded), lines.size(), MiB(rendered));
  bool ok = true;
  if (!shown) std::printf("CHECK FAILED: the request failed\n"), ok = false;
  if (documents != g_journal.receipts + g_journal.zReports || zReports != g_journal.zReports)
    std::printf("CHECK FAILED: not every document was rendered\n"), ok = false;
  if (std::filesystem::exists(ErrorLogPath()))
    std::printf("CHECK FAILED: a document failed to render, see %s\n", ErrorLogPath().c_str()),
        ok = false;
  return ok;
}

// Keeps, per benchmark, the median of its repetitions (or the time of its only run), real and CPU
// time, for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;
  };
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && run.run_type != Run::RT_Iteration) continue;
      const std::string name = run.run_name.function_name;
      if (median || !medians.count(name))
        (median ? medians : singles)[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::optional<Times> Of(const std::string& name) const {
    if (medians.count(name)) return medians.at(name);
    if (singles.count(name)) return singles.at(name);
    return std::nullopt;
  }
  std::map<std::string, Times> medians, singles;
};

bool TakeOption(const char* arg, const char* name, std::string& value) {
  const std::size_t n = std::strlen(name);
  if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
  value = arg + n + 1;
  return true;
}

}  // namespace
}  // namespace morvek

int main(int argc, char** argv) {
  using namespace morvek;
  std::string journalOut, value;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (TakeOption(argv[i], "--receipts", value))
      g_options.receipts = std::stoi(value);
    else if (TakeOption(argv[i], "--zreports", value))
      g_options.zReports = std::stoi(value);
    else if (TakeOption(argv[i], "--seed", value))
      g_options.seed = std::stoull(value);
    else if (TakeOption(argv[i], "--journal-out", value))
      journalOut = value;
    else
      rest.push_back(argv[i]);
  }
  int restCount = static_cast<int>(rest.size());
  rest.push_back(nullptr);
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;

  g_journal = GenerateJournal(g_options);
  if (!journalOut.empty()) {
    std::ofstream out(journalOut, std::ios::binary);
    out << g_journal.xml;
    return out.good() ? 0 : 1;
  }

  std::string pattern = (std::filesystem::temp_directory_path() / "morvek-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return std::perror("mkdtemp"), 1;
  g_folder = pattern;
  const bool ok = CheckOnce();
  if (ok) {
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto parse = reporter.Of("Parse"), full = reporter.Of("FullPipeline");
    if (parse && full)
      std::printf(
          "full pipeline / parse alone: %.2fx real time (%.0f / %.0f ms), %.2fx CPU time "
          "(%.0f / %.0f ms)\n",
          full->real / parse->real, full->real, parse->real, full->cpu / parse->cpu, full->cpu,
          parse->cpu);
    std::printf("peak resident memory of this process: %.1f MiB\n",
                static_cast<double>(PeakRssKiB()) / 1024.0);
  }
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(g_folder, ignored);
  return ok ? 0 : 1;
}
