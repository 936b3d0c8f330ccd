#include "render/ordering.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace morvek {

namespace {

// Whether the documents sit at positions 0, 1, 2 ... with none missing.
bool PositionsAreDense(const KeyedRecords<dat>& documents) {
  int expected = 0;
  for (const auto& record : documents)
    if (record.first != expected++) return false;
  return true;
}

// Puts the document from position byDi[p].second at each position p, moving each once along the
// cycles of the permutation, so that no second set of documents is ever held.
void Permute(KeyedRecords<dat>& documents, const std::vector<std::pair<float, int>>& byDi) {
  const auto at = [&documents](int position) -> dat& { return documents.begin()[position].second; };
  std::vector<bool> placed(byDi.size());
  for (std::size_t start = 0; start < byDi.size(); ++start) {
    if (placed[start]) continue;
    dat held = std::move(at(static_cast<int>(start)));
    for (std::size_t p = start;;) {
      placed[p] = true;
      const auto source = static_cast<std::size_t>(byDi[p].second);
      if (source == start) {
        at(static_cast<int>(p)) = std::move(held);
        break;
      }
      at(static_cast<int>(p)) = std::move(at(static_cast<int>(source)));
      p = source;
    }
  }
}

}  // namespace

void OrderDocuments(rq& model) {
  const int count = model.doc_index;
  std::vector<std::pair<float, int>> byDi;  // (di, position), in position order
  byDi.reserve(model.dats.size());
  for (const auto& [position, document] : model.dats) byDi.emplace_back(document.di, position);
  std::stable_sort(byDi.begin(), byDi.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  const int placed = std::min<int>(count, static_cast<int>(byDi.size()));
  if (PositionsAreDense(model.dats) && placed == static_cast<int>(model.dats.size())) {
    Permute(model.dats, byDi);
    return;
  }
  // A source that is overwritten anyway moves; one that keeps its place is copied.
  std::vector<std::pair<int, dat>> ordered;
  ordered.reserve(model.dats.size());
  for (int p = 0; p < placed; ++p) {
    const int source = byDi[static_cast<std::size_t>(p)].second;
    dat& record = model.dats.at(source);
    if (source < 0 || source >= placed)
      ordered.emplace_back(p, record);
    else
      ordered.emplace_back(p, std::move(record));
  }
  // The places outside the ordered ones keep their documents, and so do the sources past the
  // count, which were overwritten: those before the ordered ones go in front of them.
  const std::size_t sortedCount = ordered.size();
  for (auto& [position, document] : model.dats)
    if (position < 0) ordered.emplace_back(position, std::move(document));
  std::rotate(ordered.begin(), ordered.begin() + static_cast<std::ptrdiff_t>(sortedCount),
              ordered.end());
  for (auto& [position, document] : model.dats)
    if (position >= placed) ordered.emplace_back(position, std::move(document));
  model.dats = KeyedRecords<dat>::FromSorted(std::move(ordered));
}

}  // namespace morvek
