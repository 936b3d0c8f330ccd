// The archive commands' dates, sums and number ranges, read and written.
#include <gtest/gtest.h>

#include <climits>

#include "archive/archive_text.h"

namespace morvek {
namespace {

TEST(ArchiveText, ADateIsTheWholeDay) {
  EXPECT_EQ(DayStart("05.03.16"), "2016-03-05 00:00:00");
  EXPECT_EQ(DayEnd("05.03.16"), "2016-03-05 23:59:59");
  EXPECT_EQ(DayStart("29.02.24"), "2024-02-29 00:00:00");
  for (const char* wrong : {"29.02.23", "32.01.16", "00.01.16", "01.13.16", "1.3.16", "05-03-16",
                            "05.03.2016", "", "aa.bb.cc"})
    EXPECT_FALSE(DayStart(wrong)) << wrong;
}

TEST(ArchiveText, ATimestampIsShownDayFirst) {
  EXPECT_EQ(ShortTimestamp("2016-03-05 14:07:00"), "05.03.16 14:07:00");
  EXPECT_EQ(ShortTimestamp(""), "");
}

TEST(ArchiveText, KopecksAreShownAsHryvnias) {
  const struct {
    long long kopecks;
    const char* shown;
  } cases[] = {{0, "0.00"},
               {5, "0.05"},
               {1250, "12.50"},
               {-5, "-0.05"},
               {-123456, "-1234.56"},
               {16'777'217, "167772.17"},
               {LLONG_MIN, "-92233720368547758.08"}};
  for (const auto& c : cases) EXPECT_EQ(Hryvnias(c.kopecks), c.shown) << c.kopecks;
}

TEST(ArchiveText, AnAmountIsReadInHryvnias) {
  EXPECT_EQ(Kopecks("12"), 1200);
  EXPECT_EQ(Kopecks("12.5"), 1250);
  EXPECT_EQ(Kopecks("12.50"), 1250);
  EXPECT_EQ(Kopecks("12,05"), 1205);
  EXPECT_EQ(Kopecks("167772.17"), 16'777'217);
  for (const char* wrong : {"", ".", "12.", "12.505", "-1", "1e3", "12.5x", "99999999999999999999"})
    EXPECT_FALSE(Kopecks(wrong)) << wrong;
}

TEST(ArchiveText, ANumberOrARangeOfNumbers) {
  ASSERT_TRUE(ParseNumberRange("7"));
  EXPECT_EQ(ParseNumberRange("7")->first, 7);
  EXPECT_EQ(ParseNumberRange("7")->last, 7);
  ASSERT_TRUE(ParseNumberRange("3-9"));
  EXPECT_EQ(ParseNumberRange("3-9")->first, 3);
  EXPECT_EQ(ParseNumberRange("3-9")->last, 9);
  for (const char* wrong : {"", "0", "9-3", "3-", "-3", "a", "3-9-12", "1 - 2"})
    EXPECT_FALSE(ParseNumberRange(wrong)) << wrong;
}

}  // namespace
}  // namespace morvek
