#pragma once
// The number ranges a block transfer has loaded before, so that they are not asked again.
#include <map>
#include <utility>

namespace morvek {

class interval {
 public:
  using Range = std::pair<int, int>;  // first, last

  bool Covers(int first, int last);
  void Append(int first, int last);
  Range FindAt(int number);
  void Merge(int first, int last);
  void RemoveAt(int index);

  std::map<int, Range> ranges;  // indices 1 to rangeCount; reading an absent one adds (0, 0)
  int rangeCount = 0;
  bool mergePending = false;
};

}  // namespace morvek
