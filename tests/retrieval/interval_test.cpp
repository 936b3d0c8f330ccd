// The list of number ranges loaded by block transfer.
#include "retrieval/interval.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvek {
namespace {

using Ranges = std::vector<interval::Range>;

interval Of(const Ranges& ranges) {
  interval list;
  for (const auto& [first, last] : ranges) list.Append(first, last);
  return list;
}

Ranges Entries(interval& list) {
  Ranges entries;
  for (int i = 1; i <= list.rangeCount; ++i) entries.push_back(list.ranges[i]);
  return entries;
}

TEST(Interval, CoversOnlyARangeInsideOneEntry) {
  interval list = Of({{1, 10}, {11, 20}});
  EXPECT_TRUE(list.Covers(3, 7));
  EXPECT_TRUE(list.Covers(1, 10));
  EXPECT_FALSE(list.Covers(5, 15)) << "two entries together do not cover";
  EXPECT_FALSE(list.Covers(0, 5));
  interval empty;
  EXPECT_FALSE(empty.Covers(1, 1));
}

TEST(Interval, FindAtGivesTheEntryHoldingTheNumber) {
  interval list = Of({{1, 10}, {20, 30}});
  EXPECT_EQ(list.FindAt(25), (interval::Range{20, 30}));
  EXPECT_EQ(list.FindAt(10), (interval::Range{1, 10}));
}

TEST(Interval, FindAtOutsideEveryEntryGivesTheFirstUnlessALaterOneLiesBeforeIt) {
  interval sorted = Of({{1, 10}, {20, 30}});
  EXPECT_EQ(sorted.FindAt(15), (interval::Range{1, 10}));
  interval unsorted = Of({{50, 60}, {20, 30}});
  EXPECT_EQ(unsorted.FindAt(15), (interval::Range{20, 30}));
}

TEST(Interval, RemoveAtMovesTheLaterEntriesDown) {
  interval list = Of({{1, 2}, {3, 4}, {5, 6}});
  list.RemoveAt(2);
  EXPECT_EQ(list.rangeCount, 2);
  EXPECT_EQ(Entries(list), (Ranges{{1, 2}, {5, 6}}));
  EXPECT_EQ(list.ranges.count(3), 0u);
  list.RemoveAt(7);
  EXPECT_EQ(list.rangeCount, 2);
}

TEST(Interval, MergeDropsEntriesInsideTheRangeAndFitsTheOthers) {
  interval covered = Of({{1, 10}, {20, 30}});
  covered.Merge(1, 30);
  EXPECT_EQ(covered.rangeCount, 0);
  interval later = Of({{1, 10}, {20, 40}});
  later.Merge(5, 30);
  EXPECT_EQ(Entries(later), (Ranges{{5, 40}}));
  interval lower = Of({{1, 50}});
  lower.Merge(1, 30);
  EXPECT_EQ(Entries(lower), (Ranges{{1, 30}}));
}

}  // namespace
}  // namespace morvek
