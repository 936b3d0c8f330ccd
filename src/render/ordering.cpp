#include "render/ordering.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace morvek {

void OrderDocuments(rq& model) {
  const int count = model.doc_index;
  std::vector<std::pair<float, int>> byDi;  // (di, position), in position order
  byDi.reserve(model.dats.size());
  for (const auto& [position, document] : model.dats) byDi.emplace_back(document.di, position);
  std::stable_sort(byDi.begin(), byDi.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  const int placed = std::min<int>(count, static_cast<int>(byDi.size()));
  std::map<int, dat> ordered;
  for (int p = 0; p < placed; ++p) {
    const int source = byDi[static_cast<std::size_t>(p)].second;
    // A source that is overwritten anyway moves, its record relabelled in place; one that keeps
    // its place is copied.
    const bool sourceKept = source < 0 || source >= placed;
    if (sourceKept) {
      ordered[p] = model.dats[source];
      continue;
    }
    auto record = model.dats.extract(source);
    record.key() = p;
    ordered.insert(std::move(record));
  }
  // Left: the places outside the ordered ones, which keep their documents, and the sources past
  // the count, which were overwritten.
  for (auto it = model.dats.begin(); it != model.dats.end();) {
    const int position = it->first;
    auto next = std::next(it);
    if (position < 0 || position >= placed) ordered.insert(model.dats.extract(it));
    it = next;
  }
  model.dats = std::move(ordered);
}

}  // namespace morvek
