#pragma once
// The number ranges a block transfer has loaded before, so that they are not asked again. Entries
// keep the order they were appended in; only Merge joins or drops them. A range records numbers
// without the document type.
#include <map>
#include <utility>

namespace morvek {

class interval {
 public:
  using Range = std::pair<int, int>;  // first, last

  // True when one entry holds the whole of first to last.
  bool Covers(int first, int last);
  void Append(int first, int last);
  // The entry holding number; else an entry after it that lies wholly before the first entry;
  // else the first entry.
  Range FindAt(int number);
  // Fits the entries to a range fetched across a gap between two of them.
  void Merge(int first, int last);
  // Drops the entry at index; the later ones move down by one.
  void RemoveAt(int index);

  std::map<int, Range> ranges;  // indices 1 to rangeCount; reading an absent one adds (0, 0)
  int rangeCount = 0;
  bool mergePending = false;
};

}  // namespace morvek
