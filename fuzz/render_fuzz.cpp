// Fuzz target: arbitrary bytes as the assembled journal of a request by number, through the whole
// processing step (parse, load, order, render), then rendered again with every document type and
// loaded a second time on top of the first load.
//
// Whatever the bytes, the step must end: either with the rendered list or with the two failure
// lines, never with a crash, a sanitizer report or an escaping exception.
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

#include "codec/cp1251.h"
#include "codec/errors.h"
#include "error_log_folder.h"
#include "journal/loader.h"
#include "journal/typ_work.h"
#include "platform/xml_document.h"
#include "render/ordering.h"
#include "render/renderer.h"
#include "session/render.h"

namespace {

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

// The model's documents rendered; false when the walk failed without its two failure lines.
bool Rendered(const morvek::rq& model, morvek::DocumentTables& tables, int type,
              const std::string& first, const std::string& last) {
  const morvek::RenderResult shown =
      morvek::RenderModel(model, tables, type, first, last, FuzzErrorLogPath());
  return !shown.failed || EndsWithFailureLines(shown.lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvek;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (TreeChildren(text) != StreamedChildren(text)) __builtin_trap();
  const RenderResult shown =
      RenderJournal(text, kTypeBoth, "1", std::to_string(INT_MAX), FuzzErrorLogPath());
  if (shown.failed) {
    if (!EndsWithFailureLines(shown.lines)) __builtin_trap();
    return 0;
  }

  // The same model under every document type, with the number range the window proposes for it,
  // the tables kept from one rendering to the next as the window keeps them.
  rq model;
  model.Clear();
  control cursor;
  cursor.Reset();
  LoadJournalText(model, cursor, text);
  OrderDocuments(model);
  DocumentTables tables;
  for (const int type : {kTypeBoth, kTypeZReport, kTypeReceipt, kTypeCash}) {
    const bool z = type == kTypeZReport;
    if (!Rendered(model, tables, type, std::to_string(z ? model.z_no_min : model.check_no_min),
                  std::to_string(z ? model.z_no_max : model.check_no_max)))
      __builtin_trap();
  }

  // A second load adds its documents after the first ones; the tables keep what the renderings
  // recorded.
  cursor.Reset();
  try {
    LoadJournalText(model, cursor, text);
    OrderDocuments(model);
  } catch (const std::exception&) {
    return 0;  // the window shows its two failure lines
  }
  if (!Rendered(model, tables, kTypeBoth, "1", std::to_string(INT_MAX))) __builtin_trap();
  return 0;
}
