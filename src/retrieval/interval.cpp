#include "retrieval/interval.h"

namespace morvek {

bool interval::Covers(int first, int last) {
  for (int i = 1; i <= rangeCount; ++i) {
    const Range& entry = ranges[i];
    if (entry.first <= first && last <= entry.second) return true;
  }
  return false;
}

void interval::Append(int first, int last) {
  ranges[rangeCount + 1] = {first, last};
  ++rangeCount;
}

interval::Range interval::FindAt(int number) {
  Range best = ranges[1];
  for (int i = 1; i <= rangeCount; ++i) {
    const Range& entry = ranges[i];
    if (entry.first <= number && number <= entry.second) return entry;
    if (number < entry.first && entry.second < best.second && entry.first < best.first)
      best = entry;
  }
  return best;
}

void interval::Merge(int first, int last) {
  for (int i = 1; i <= rangeCount;) {
    Range& entry = ranges[i];
    if (first < entry.first && last < entry.second) {
      entry.first = first;
      ++i;
    } else if (last < entry.second) {
      entry.second = last;
      ++i;
    } else {
      RemoveAt(i);
      i = 1;
    }
  }
}

void interval::RemoveAt(int index) {
  if (index < 1 || index > rangeCount) return;
  for (int i = index; i < rangeCount; ++i) ranges[i] = ranges[i + 1];
  ranges.erase(rangeCount);
  --rangeCount;
}

}  // namespace morvek
