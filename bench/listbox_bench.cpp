// ListBox2 with half a million lines: the retrieval window's list filled as a request fills it,
// then shown: the model refresh, the view's layout and a paint on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
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

constexpr int kLines = 500000;

// Receipt-like lines of the layouts' width, in Windows-1251.
std::vector<std::string> MakeLines() {
  const std::string item = Utf8ToCp1251("ХЛІБ БІЛИЙ ПШЕНИЧНИЙ          ");
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) lines.push_back(item + std::to_string(i % 10000) + ".00 А");
  return lines;
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
  const std::vector<std::string> lines = MakeLines();
  Window window;
  for (const std::string& line : lines) window.app.Form53.ListBox2.Add(line);
  window.Show();
  for (auto _ : state) {
    window.app.Form53.ListBox2.Add(lines.front());
    window.Show();
    window.list.scrollToBottom();
    window.list.repaint();
  }
}
BENCHMARK(BM_AppendOneAndScrollToEnd)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
