// ListBox2 with 2.5 million lines: the retrieval window's list filled as a request fills it, then
// shown: the model refresh, the view's layout and a paint on the offscreen platform; and what the
// full list holds in memory beside the bytes of its text.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QListView>
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "codec/cp1251.h"
#include "gui/desktop.h"
#include "gui/list_box_model.h"
#include "gui/qt_ui.h"
#include "gui/retrieval_view.h"

namespace {

using namespace morvek;

constexpr int kLines = 2500000;

// A receipt-like line of the layouts' width, in Windows-1251.
std::string MakeLine(int i) {
  static const std::string item = Utf8ToCp1251("ХЛІБ БІЛИЙ ПШЕНИЧНИЙ          ");
  return item + std::to_string(i % 10000) + ".00 А";
}

std::vector<std::string> MakeLines() {
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) lines.push_back(MakeLine(i));
  return lines;
}

// The process's resident bytes, as the kernel counts them.
double ResidentBytes() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return 0;
  if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(statm);
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

struct Window {
  gui::QtUi ui;
  Application app{ui};
  gui::Desktop desktop{app, ui};
  QListView& list = *desktop.retrieval().ListBox2;

  Window() { app.Form53.Show(); }
  ~Window() { app.Form53.Hide(); }

  void Show() {
    desktop.retrieval().Refresh();
    QCoreApplication::processEvents();
    list.repaint();
  }
};

void BM_FillAndShow(benchmark::State& state) {
  const std::vector<std::string> lines = MakeLines();
  Window window;
  for (auto _ : state) {
    window.app.Form53.ListBox2.Clear();
    for (const std::string& line : lines) window.app.Form53.ListBox2.Add(line);
    window.Show();
  }
  if (window.list.model()->rowCount() != kLines) state.SkipWithError("rows lost");
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_FillAndShow)->Unit(benchmark::kMillisecond);

// The same lines refilled, but only the view's work timed: refresh, layout, paint.
void BM_ShowFilledList(benchmark::State& state) {
  const std::vector<std::string> lines = MakeLines();
  Window window;
  for (auto _ : state) {
    state.PauseTiming();
    window.app.Form53.ListBox2.Clear();
    for (const std::string& line : lines) window.app.Form53.ListBox2.Add(line);
    state.ResumeTiming();
    window.Show();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ShowFilledList)->Unit(benchmark::kMillisecond);

// One more line at the end of a full list, and the list scrolled to it: what each document of a
// long request costs the view.
void BM_AppendOneAndScrollToEnd(benchmark::State& state) {
  Window window;
  for (int i = 0; i < kLines; ++i) window.app.Form53.ListBox2.Add(MakeLine(i));
  window.Show();
  for (auto _ : state) {
    window.app.Form53.ListBox2.Add(MakeLine(0));
    window.Show();
    window.list.scrollToBottom();
    window.list.repaint();
  }
}
BENCHMARK(BM_AppendOneAndScrollToEnd)->Unit(benchmark::kMillisecond);

// The operator's own move: a full list, shown at its top, scrolled to its last line and painted
// there (End, or the scroll bar dragged down).
void BM_ScrollFullListToEnd(benchmark::State& state) {
  Window window;
  for (int i = 0; i < kLines; ++i) window.app.Form53.ListBox2.Add(MakeLine(i));
  window.Show();
  for (auto _ : state) {
    state.PauseTiming();
    window.list.scrollToTop();
    window.list.repaint();
    state.ResumeTiming();
    window.list.scrollToBottom();
    window.list.repaint();
  }
}
BENCHMARK(BM_ScrollFullListToEnd)->Unit(benchmark::kMillisecond);

// The full list shown once: what the list holds (its own count) and what the process grew by
// (Qt's rows included), each per byte of text. The lines are made one at a time, so no copy of
// them is counted.
void BM_MemoryOfFullList(benchmark::State& state) {
  for (auto _ : state) {
    Window window;
    window.Show();
    const double before = ResidentBytes();
    double text = 0;
    for (int i = 0; i < kLines; ++i) {
      const std::string line = MakeLine(i);
      text += static_cast<double>(line.size());
      window.app.Form53.ListBox2.Add(line);
    }
    window.Show();
    window.list.scrollToBottom();
    window.list.repaint();
    const double grown = ResidentBytes() - before;
    state.counters["text_MiB"] = text / (1 << 20);
    const LineList& lines = window.app.Form53.ListBox2.lines;
    if (lines.TextBytes() != static_cast<std::size_t>(text)) state.SkipWithError("bytes lost");
    state.counters["bytes_held_per_text_byte"] = static_cast<double>(lines.BytesHeld()) / text;
    state.counters["rss_per_text_byte"] = grown / text;
  }
}
BENCHMARK(BM_MemoryOfFullList)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
