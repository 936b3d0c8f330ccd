// The collector's dates: the command line's day, the default start, and the request by date made
// from the archive's newest receipt.
#include "collect/collect_dates.h"

#include <gtest/gtest.h>

namespace morvek {
namespace {

std::tm At(int year, int month, int day, int hour, int minute) {
  std::tm when{};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  return when;
}

TEST(CollectDates, ADayOfTheCommandLineStartsAtMidnight) {
  EXPECT_EQ(StartOfDay("05.03.24"), "2024-03-05 00:00:00");
  EXPECT_EQ(StartOfDay("29.02.23"), std::nullopt);
  EXPECT_EQ(StartOfDay("2024-03-05"), std::nullopt);
}

TEST(CollectDates, TheDefaultStartIsTheFirstOfThePreviousMonth) {
  EXPECT_EQ(FirstOfPreviousMonth(At(2025, 3, 31, 12, 0)), "2025-02-01 00:00:00");
  EXPECT_EQ(FirstOfPreviousMonth(At(2025, 1, 1, 0, 0)), "2024-12-01 00:00:00");
}

TEST(CollectDates, ARequestRunsFromTheTimestampsMinuteToNow) {
  const DateFields fields = FieldsFrom("2024-12-31 23:59:41", At(2025, 1, 2, 7, 5));
  EXPECT_EQ(fields.startDate, "31.12.24");
  EXPECT_EQ(fields.startTime, "23:59");
  EXPECT_EQ(fields.endDate, "02.01.25");
  EXPECT_EQ(fields.endTime, "07:05");
  const DateInterval interval = ReadDateFields(fields);
  EXPECT_EQ(interval.startDate.DeviceDateText(), "311224");
  EXPECT_EQ(interval.endTime.DeviceTimeText(), "0705");
}

}  // namespace
}  // namespace morvek
