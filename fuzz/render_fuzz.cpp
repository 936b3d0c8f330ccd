// Fuzz target: arbitrary bytes as the assembled journal of a request by number, through the whole
// processing step of the retrieval window (parse, load, order, render), then rendered again with
// the other document types and loaded a second time on top of the first load.
//
// Whatever the bytes, the step must end: either with the rendered list or with the two failure
// lines, never with a crash, a sanitizer report or an exception escaping the window.
#include <stdlib.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "codec/cp1251.h"
#include "codec/errors.h"
#include "platform/silent_ui.h"
#include "platform/xml_document.h"
#include "render/renderer.h"

namespace {

// Failing documents write the error log into a folder made once per process, removed at exit.
const std::string& ErrorLogPath() {
  static const std::string path = [] {
    static std::string folder =
        (std::filesystem::temp_directory_path() / "morvek-fuzz-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return folder + "/error.log";
  }();
  return path;
}

bool EndsWithFailureLines(const std::vector<std::string>& lines) {
  using namespace morvek;
  return lines.size() >= 2 &&
         lines[lines.size() - 2] == "Непредвиденный сбой в структуре получаемой информации!"_cp &&
         lines.back() == "Попробуйте выбрать другой диапазон номеров или дат!"_cp;
}

// The names of the root's children as a whole tree gives them and as the reading a child at a
// time does; nullopt when the text is refused.
std::optional<std::vector<std::string>> TreeChildren(std::string_view text) {
  using namespace morvek;
  try {
    const XmlDocument doc = XmlDocument::Parse(text);
    std::vector<std::string> names;
    for (XmlNode n = doc.DocumentElement().FirstChild(); n; n = n.Next()) names.push_back(n.Name());
    return names;
  } catch (const XmlError&) {
    return std::nullopt;
  }
}

std::optional<std::vector<std::string>> StreamedChildren(std::string_view text) {
  using namespace morvek;
  std::vector<std::string> names;
  try {
    ReadXmlStream(
        text, [](const XmlNode&) {},
        [&names](const XmlNode& node) { names.push_back(node.Name()); });
    return names;
  } catch (const XmlError&) {
    if (!names.empty()) __builtin_trap();  // a refused text hands on nothing
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvek;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (TreeChildren(text) != StreamedChildren(text)) __builtin_trap();
  morvek::SilentUi ui;
  Application app(ui);
  TForm53& form = app.Form53;
  form.errorLogPath = ErrorLogPath();
  form.FormCreate();
  form.control.Reset();
  form.SetRequest(kTypeBoth, 1, INT_MAX);
  if (!form.ShowAssembled(text)) {
    if (!EndsWithFailureLines(form.ListBox2.lines)) __builtin_trap();
    return 0;
  }

  // The same model under the other document types, with the number range the window proposes.
  for (const int type : {kTypeZReport, kTypeReceipt, kTypeCash}) {
    form.ComboBox1.Select(type);
    form.ComboBox1Change();
    form.ListBox2.Clear();
    form.RenderDocuments(form.ListBox2);
  }

  // A second load adds its documents after the first ones; the tables keep what the first
  // rendering recorded.
  form.SetRequest(kTypeBoth, 1, INT_MAX);
  form.control.Reset();
  if (!form.ShowAssembled(text) && !EndsWithFailureLines(form.ListBox2.lines)) __builtin_trap();
  return 0;
}
