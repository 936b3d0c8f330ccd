#include "render/ordering.h"

#include <algorithm>
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
    // A source that is overwritten anyway can be moved; one that keeps its place is copied.
    const bool sourceKept = source < 0 || source >= placed;
    ordered[p] = sourceKept ? model.dats[source] : std::move(model.dats[source]);
  }
  for (auto& [position, document] : model.dats)
    if (position < 0 || position >= placed) ordered[position] = std::move(document);
  model.dats = std::move(ordered);
}

}  // namespace morvek
