// The set of number ranges loaded by block transfer, and the gaps a request still lacks.
#include "blocks/interval.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace morvek {
namespace {

using Ranges = std::vector<interval::Range>;

interval Of(const Ranges& ranges) {
  interval list;
  for (const auto& [first, last] : ranges) list.Append(first, last);
  return list;
}

TEST(Interval, AppendJoinsRangesThatOverlapOrTouchWhateverTheOrder) {
  EXPECT_EQ(Of({{20, 30}, {1, 10}}).Ranges(), (Ranges{{1, 10}, {20, 30}}));
  EXPECT_EQ(Of({{20, 30}, {1, 10}, {11, 19}}).Ranges(), (Ranges{{1, 30}}));
  EXPECT_EQ(Of({{5, 8}, {1, 40}, {35, 50}}).Ranges(), (Ranges{{1, 50}}));
  EXPECT_EQ(Of({{1, INT_MAX}, {INT_MIN, 0}}).Ranges(), (Ranges{{INT_MIN, INT_MAX}}));
}

struct GapCase {
  Ranges held;
  interval::Range request;
  Ranges gaps;
};

TEST(Interval, GapsAreThePartsOfARequestNoRangeHolds) {
  const GapCase cases[] = {
      {{}, {1, 10}, {{1, 10}}},
      {{{1, 10}}, {3, 7}, {}},
      {{{1, 10}, {11, 20}}, {5, 15}, {}},  // two ranges together cover it
      {{{1, 10}}, {5, 20}, {{11, 20}}},
      // Appended out of order: the tail past the last range is still asked for.
      {{{20, 30}, {1, 10}}, {1, 40}, {{11, 19}, {31, 40}}},
      {{{35, 40}, {1, 10}, {20, 30}}, {20, 40}, {{31, 34}}},
      {{{5, 6}}, {1, 10}, {{1, 4}, {7, 10}}},
      {{{1, INT_MAX}}, {INT_MAX, INT_MAX}, {}},
      {{{1, 10}}, {INT_MAX - 1, INT_MAX}, {{INT_MAX - 1, INT_MAX}}},
  };
  for (const GapCase& c : cases) {
    const interval list = Of(c.held);
    EXPECT_EQ(list.Gaps(c.request.first, c.request.second), c.gaps)
        << c.request.first << " to " << c.request.second;
    EXPECT_EQ(list.Covers(c.request.first, c.request.second), c.gaps.empty());
  }
}

}  // namespace
}  // namespace morvek
