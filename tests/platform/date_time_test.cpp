// The date and time fields as their masks show them, the texts the register is sent, and the
// fields the window fills when it is created.
#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <optional>
#include "app/application.h"
#include "codec/errors.h"
#include "test_support.h"

namespace morvek::test {
namespace {

date_e Date(const char* text) {
  date_e date;
  date.ParseDate(text);
  return date;
}

TEST(DateField, OneDigitDayShownWithALeadingBlankIsSentWithTwoDigits) {
  EXPECT_EQ(Date(" 5.03.24").DeviceDateText(), "050324");
  EXPECT_EQ(Date("31.12.99").DeviceDateText(), "311299");
  EXPECT_EQ(TwoDigits(0) + TwoDigits(9) + TwoDigits(10), "000910");
}

TEST(DateField, BlankOrBrokenPartRaisesAConversionError) {
  for (const char* text : {"  .  .  ", "05.  .24", "05.03.  ", "5 .03.24", "05.0x.24", "", "05.03"})
    EXPECT_THROW(Date(text), ConvertError) << '"' << text << '"';
}

TEST(DateField, EndBeforeStartComparesYearThenMonthThenDay) {
  EXPECT_TRUE(Date("29.02.24").Before(Date("01.03.24")));
  EXPECT_TRUE(Date("31.12.23").Before(Date("01.01.24")));
  EXPECT_FALSE(Date("01.03.24").Before(Date("01.03.24")));
  EXPECT_FALSE(Date("02.01.24").Before(Date("31.12.23")));
  EXPECT_TRUE(Date("01.01.00").Before(Date("31.12.99")));  // two-digit years as numbers
}

TEST(DateField, FirstOfPreviousMonthStaysInTheYearOrTurnsBackOne) {
  EXPECT_EQ(Date("31.03.24").FirstOfPreviousMonth(), "01.02.24");
  EXPECT_EQ(Date("15.01.24").FirstOfPreviousMonth(), "01.12.23");
  EXPECT_EQ(Date("10.01.00").FirstOfPreviousMonth(), "01.12.99");
}

TEST(CalendarDay, ADayTypedDdMmYyIsADayOfTheCalendar) {
  struct Case {
    const char* text;
    std::optional<int> yyyymmdd;
  };
  for (const Case c : {Case{"29.02.24", 20240229},
                       {"31.12.99", 20991231},
                       {"01.01.00", 20000101},
                       {"29.02.25", {}},
                       {"31.04.24", {}},
                       {"00.01.24", {}},
                       {"01.13.24", {}},
                       {"01.00.24", {}},
                       {"1.1.24", {}},
                       {"01-01-24", {}},
                       {"01.01.2024", {}},
                       {"aa.01.24", {}},
                       {"", {}}}) {
    const auto day = ReadCalendarDay(c.text);
    ASSERT_EQ(day.has_value(), c.yyyymmdd.has_value()) << c.text;
    if (day) {
      EXPECT_EQ(day->year * 10000 + day->month * 100 + day->day, *c.yyyymmdd) << c.text;
    }
  }
}

TEST(TimeField, ReadsAroundTheColonOrGivesMidnight) {
  EXPECT_EQ(time_e(" 9:05").DeviceTimeText(), "0905");
  EXPECT_EQ(time_e("23:59").DeviceTimeText(), "2359");
  for (const char* text : {"9:05", "0905", "", "12.30"})
    EXPECT_EQ(time_e(text).DeviceTimeText(), "0000") << text;
  for (const char* text : {"  :  ", "12:  ", "  :30", "1 :30"})
    EXPECT_THROW(time_e{text}, ConvertError) << '"' << text << '"';
}

TEST(WindowCreation, DateFieldsRunFromTheFirstOfThePreviousMonthToNow) {
  RecordingUi ui;
  Application app(ui);
  std::tm now{};
  now.tm_year = 124;
  now.tm_mon = 0;
  now.tm_mday = 15;
  now.tm_hour = 9;
  now.tm_min = 5;
  app.Form53.FillDateFields(now);
  EXPECT_EQ(app.Form53.Edit4.text + " " + app.Form53.Edit6.text, "01.12.23 00:00");
  EXPECT_EQ(app.Form53.Edit5.text + " " + app.Form53.Edit7.text, "15.01.24 09:05");
  now.tm_year = 100;
  app.Form53.FillDateFields(now);
  EXPECT_EQ(app.Form53.Edit4.text, "01.12.99");
}

TEST(WindowCreation, ClosingShowsTheMainWindow) {
  RecordingUi ui;
  Application app(ui);
  app.Form53.Show();
  app.Form53.Button2Click();
  EXPECT_FALSE(app.Form53.visible);
  EXPECT_TRUE(app.Form3.visible);
}

}  // namespace
}  // namespace morvek::test
