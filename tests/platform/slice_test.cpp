#include <gtest/gtest.h>

#include <climits>

#include "platform/slice.h"

namespace morvek {
namespace {

TEST(Slice, PositionsCountFromOne) {
  EXPECT_EQ(Slice("201512041200", 1, 4), "2015");
  EXPECT_EQ(Slice("201512041200", 5, 2), "12");
  EXPECT_EQ(Slice("201512041200", 11, 2), "00");
}

TEST(Slice, PieceRunningPastTheEndIsCut) {
  EXPECT_EQ(Slice("2015120412", 9, 4), "12");
  EXPECT_EQ(Slice("abc", 1, INT_MAX), "abc");
}

TEST(Slice, PieceStartingPastTheEndIsEmpty) {
  EXPECT_EQ(Slice("2015", 5, 2), "");
  EXPECT_EQ(Slice("2015", INT_MAX, 2), "");
  EXPECT_EQ(Slice("", 1, 4), "");
}

TEST(Slice, PositionsBeforeTheStartShortenThePiece) {
  EXPECT_EQ(Slice("abcdef", 0, 3), "ab");
  EXPECT_EQ(Slice("abcdef", -1, 3), "a");
  EXPECT_EQ(Slice("abcdef", -5, 3), "");
}

TEST(Slice, ExtremePositionsAndCountsStayEmptyWithoutOverflow) {
  EXPECT_EQ(Slice("abcdef", INT_MIN, INT_MAX), "");
  EXPECT_EQ(Slice("abcdef", INT_MIN, 5), "");
  EXPECT_EQ(Slice("abcdef", 2, INT_MIN), "");
  EXPECT_EQ(Slice("abcdef", 2, 0), "");
  EXPECT_EQ(Slice("abcdef", 2, -1), "");
}

}  // namespace
}  // namespace morvek
