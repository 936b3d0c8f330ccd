#include "blocks/interval.h"

#include <algorithm>
#include <iterator>

namespace morvek {

void interval::Append(int first, int last) {
  if (last < first) return;
  long long from = first, to = last;
  // Every range that overlaps or touches the new one is joined into it.
  auto it = ranges_.upper_bound(first);
  if (it != ranges_.begin() && static_cast<long long>(std::prev(it)->second) + 1 >= from) --it;
  while (it != ranges_.end() && it->first <= to + 1) {
    from = std::min<long long>(from, it->first);
    to = std::max<long long>(to, it->second);
    it = ranges_.erase(it);
  }
  ranges_.emplace(static_cast<int>(from), static_cast<int>(to));
}

std::vector<interval::Range> interval::Gaps(int first, int last) const {
  std::vector<Range> gaps;
  long long next = first;  // the first number not yet known to be held
  auto it = ranges_.upper_bound(first);
  if (it != ranges_.begin()) --it;
  for (; it != ranges_.end() && it->first <= last && next <= last; ++it) {
    if (it->second < next) continue;
    if (it->first > next) gaps.emplace_back(static_cast<int>(next), it->first - 1);
    next = static_cast<long long>(it->second) + 1;
  }
  if (next <= last) gaps.emplace_back(static_cast<int>(next), last);
  return gaps;
}

}  // namespace morvek
