// The correspondence tables of the retrieval window.
#include "render/sootv.h"

#include <gtest/gtest.h>

#include <map>

namespace morvek {
namespace {

TEST(Sootv, NewTableIsEmptyAndNotFilled) {
  sootv table;
  EXPECT_EQ(table.Count(), 0);
  EXPECT_FALSE(table.IsFilled());
  EXPECT_TRUE(table.Snapshot().empty());
}

TEST(Sootv, SetStoresTheValueFillsAndCounts) {
  sootv table;
  table.Set(4, 9);
  EXPECT_EQ(table.Get(4), 9);
  EXPECT_TRUE(table.IsFilled());
  EXPECT_EQ(table.Count(), 1);
}

TEST(Sootv, OverwriteReplacesTheValueAndCountsToo) {
  sootv table;
  table.Set(4, 9);
  table.Set(4, 2);
  EXPECT_EQ(table.Get(4), 2);
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Snapshot(), (std::map<int, int>{{4, 2}}));
}

TEST(Sootv, GetOfAMissingKeyAddsItWithZeroWithoutTouchingCountOrFilled) {
  sootv table;
  EXPECT_EQ(table.Get(7), 0);
  EXPECT_EQ(table.Snapshot(), (std::map<int, int>{{7, 0}}));
  EXPECT_EQ(table.Count(), 0);
  EXPECT_FALSE(table.IsFilled());
}

TEST(Sootv, FindKeyByValueIsMinusOneWhileNothingWasSetEvenWithZeroKeysPresent) {
  sootv table;
  table.Get(1);
  table.Get(2);
  EXPECT_EQ(table.FindKeyByValue(0), -1);
}

TEST(Sootv, KeyAddedByGetIsFoundByValueZeroOnceSomethingWasSet) {
  sootv table;
  table.Set(5, 3);
  table.Get(2);
  EXPECT_EQ(table.FindKeyByValue(0), 2);
  EXPECT_EQ(table.Count(), 1);
}

TEST(Sootv, FindKeyByValueGivesTheSmallestKeyHoldingTheValue) {
  sootv table;
  table.Set(9, 4);
  table.Set(3, 4);
  table.Set(1, 5);
  EXPECT_EQ(table.FindKeyByValue(4), 3);
  EXPECT_EQ(table.FindKeyByValue(5), 1);
  EXPECT_EQ(table.FindKeyByValue(6), -1);
}

TEST(Sootv, ClearEmptiesAndResets) {
  sootv table;
  table.Set(1, 1);
  table.Get(2);
  table.Clear();
  EXPECT_TRUE(table.Snapshot().empty());
  EXPECT_EQ(table.Count(), 0);
  EXPECT_FALSE(table.IsFilled());
  EXPECT_EQ(table.FindKeyByValue(1), -1);
}

}  // namespace
}  // namespace morvek
