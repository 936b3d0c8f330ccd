// Which loaded documents a rendering shows, in which order and layout, and what happens when one
// of them fails.
#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>
#include <vector>

#include "codec/cp1251.h"
#include "journal/entry.h"
#include "platform/numbers.h"
#include "platform/translation.h"
#include "render/error_log.h"
#include "render/renderer.h"
#include "render/text_ops.h"

namespace morvek {

const dat* Renderer::Find(int position) const {
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
    const dat* found = Find(p);
    if (!found) continue;
    const dat& document = *found;
    if (document.is_receipt) {
      const int r = WholeOf(Entry(document.checks, 0).end.no);
      if (isEnd && number < r) break;
      if (!isEnd && r > number) {
        result = std::max(p - 1, 0);
        break;
      }
      result = p;
      if (r == number) break;
    } else {
      const int z = tables_.zNumberByPosition.Get(number);
      if (Entry(document.zvits, 0).no == static_cast<float>(z)) {
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
  rendered_.clear();
  taken_ = 0;
  BuildPositionTable();
  if (rq_.doc_index < 1) {
    list.Add(std::string("Запрашиваемые данные отсутствуют!"_tr));
    return;
  }
  // Z-reports are chosen by their own numbers, every other type by receipt numbers.
  const bool zReports = documentType == kTypeZReport;
  const std::pair<int, int> span =
      zReports ? ZReportSpan(first, last)
               : std::pair(PositionOfNumber(first, false), PositionOfNumber(last, true));
  const int start = span.first, end = span.second;

  const std::map<int, int> snapshot = tables_.positionKeys.Snapshot();
  std::vector<std::pair<int, int>> byDi(snapshot.begin(), snapshot.end());  // (position, di)
  std::stable_sort(byDi.begin(), byDi.end(),
                   [](const auto& a, const auto& b) { return a.second < b.second; });
  auto cursor = std::find_if(byDi.begin(), byDi.end(),
                             [&](const auto& entry) { return entry.first == start; });
  for (int i = start; i <= end && cursor != byDi.end(); ++i, ++cursor) {
    if (zReports && !HoldsZReportWithin(cursor->first, first, last)) continue;
    RenderOne(list, cursor->first, documentType, i);
    if (!take_) continue;
    const std::size_t held = list.lines.size();
    take_(list.lines);
    taken_ += held - std::min(held, list.lines.size());
  }
}

bool Renderer::HoldsZReportWithin(int position, int first, int last) {
  const dat* document = Find(position);
  if (!document || document->is_receipt) return false;
  const auto report = document->zvits.find(0);
  if (report == document->zvits.end()) return false;
  // Compared as the layout shows it, truncated, but without raising for a number beyond int.
  const double number = std::trunc(report->second.no);
  return first <= number && number <= last;
}

std::pair<int, int> Renderer::ZReportSpan(int first, int last) {
  std::pair<int, int> span(0, -1);  // an empty walk while none lies within
  for (int p = 0; p < rq_.doc_index; ++p) {
    if (!HoldsZReportWithin(p, first, last)) continue;
    if (span.second < 0) span.first = p;
    span.second = p;
  }
  return span;
}

void Renderer::RenderOne(ListBox& list, int position, int documentType, int walkIndex) {
  const std::size_t held = list.lines.size();
  const std::size_t firstLine = taken_ + held;
  try {
    const dat* found = Find(position);
    if (!found) return;
    const dat& document = *found;
    if (document.is_receipt) {
      if (documentType == kTypeReceipt || documentType == kTypeBoth)
        RenderReceipt(list, position, Layout::Receipt);
      else if (documentType == kTypeCash && Entry(document.checks, 0).t == 2)
        RenderReceipt(list, position, Layout::CashDocument);
    } else if (documentType == kTypeZReport || documentType == kTypeBoth) {
      RenderZReport(list, position, walkIndex);
    }
  } catch (const std::exception& failure) {
    WriteErrorLog(errorLogPath_, failure.what());
    rendered_.push_back({position, firstLine, true});
    return;
  }
  if (list.lines.size() > held) rendered_.push_back({position, firstLine, false});
}

}  // namespace morvek
