#pragma once
// The number ranges a block transfer has loaded before, so that they are not asked again. It is
// kept as a set: ranges that overlap or touch are joined, so that what a request still lacks is
// plainly the gaps between them.
#include <map>
#include <utility>
#include <vector>

namespace morvek {

class interval {
 public:
  using Range = std::pair<int, int>;  // first, last

  // True when the loaded ranges together hold the whole of first to last.
  bool Covers(int first, int last) const { return Gaps(first, last).empty(); }
  void Append(int first, int last);
  // The parts of first to last that no loaded range holds, in ascending order.
  std::vector<Range> Gaps(int first, int last) const;
  std::vector<Range> Ranges() const { return {ranges_.begin(), ranges_.end()}; }
  void Clear() { ranges_.clear(); }

 private:
  std::map<int, int> ranges_;  // first -> last; disjoint and not touching
};

}  // namespace morvek
