// Which loaded documents a rendering shows, in which order and layout, and what happens when one
// of them fails.
#include <algorithm>
#include <exception>
#include <vector>

#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "render/error_log.h"
#include "render/renderer.h"
#include "render/text_ops.h"

namespace morvek {

dat* Renderer::Find(int position) {
  const auto it = rq_.dats.find(position);
  return it == rq_.dats.end() ? nullptr : &it->second;
}

void Renderer::BuildPositionTable() {
  tables_.positionKeys.Clear();
  for (int i = 0; i < rq_.doc_index; ++i) {
    const dat* document = Find(i);
    tables_.positionKeys.Set(i, document ? WholeOf(document->di) : 0);
  }
}

int Renderer::PositionOfNumber(int number, bool isEnd) {
  int result = 0;
  for (int p = 0; p < rq_.doc_index; ++p) {
    dat* found = Find(p);
    if (!found) continue;
    dat& document = *found;
    if (document.is_receipt) {
      const int r = WholeOf(document.checks[0].end.no);
      if (isEnd && number < r) break;
      if (!isEnd && r > number) {
        result = std::max(p - 1, 0);
        break;
      }
      result = p;
      if (r == number) break;
    } else {
      const int z = tables_.zNumberByPosition.Get(number);
      if (document.zvits[0].no == static_cast<float>(z)) {
        result = p;
        break;
      }
    }
  }
  return result;
}

void Renderer::RenderDocuments(ListBox& list, int documentType, std::string_view firstText,
                               std::string_view lastText) {
  const int first = StrToInt(firstText);
  const int last = StrToInt(lastText);
  BuildPositionTable();
  if (rq_.doc_index < 1) {
    list.Add(std::string("Запрашиваемые данные отсутствуют!"_cp));
    return;
  }
  const int start = PositionOfNumber(first, false);
  const int end = PositionOfNumber(last, true);

  const std::map<int, int> snapshot = tables_.positionKeys.Snapshot();
  std::vector<std::pair<int, int>> byDi(snapshot.begin(), snapshot.end());  // (position, di)
  std::stable_sort(byDi.begin(), byDi.end(),
                   [](const auto& a, const auto& b) { return a.second < b.second; });
  auto cursor = std::find_if(byDi.begin(), byDi.end(),
                             [&](const auto& entry) { return entry.first == start; });
  for (int i = start; i <= end && cursor != byDi.end(); ++i, ++cursor)
    RenderOne(list, cursor->first, documentType, i);
}

void Renderer::RenderOne(ListBox& list, int position, int documentType, int walkIndex) {
  try {
    dat* found = Find(position);
    if (!found) return;
    dat& document = *found;
    if (document.is_receipt) {
      if (documentType == kTypeReceipt || documentType == kTypeBoth)
        RenderReceipt(list, position, Layout::Receipt);
      else if (documentType == kTypeCash && document.checks[0].t == 2)
        RenderReceipt(list, position, Layout::CashDocument);
    } else if (documentType == kTypeZReport || documentType == kTypeBoth) {
      RenderZReport(list, position, walkIndex);
    }
  } catch (const std::exception& failure) {
    WriteErrorLog(errorLogPath_, failure.what());
  }
}

}  // namespace morvek
