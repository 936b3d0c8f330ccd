// The date and time fields as the masks show them, the texts the register is sent, and the
// defaults the window puts into the fields when it is created.
#include "retrieval/date_time.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "platform/errors.h"
#include "test_support.h"

namespace morvek::test {
namespace {

date_e Date(const char* text) {
  date_e date;
  date.ParseDate(text);
  return date;
}

TEST(TwoDigits, PutsAZeroBeforeOneDigitOnly) {
  EXPECT_EQ(TwoDigits(0), "00");
  EXPECT_EQ(TwoDigits(5), "05");
  EXPECT_EQ(TwoDigits(9), "09");
  EXPECT_EQ(TwoDigits(10), "10");
  EXPECT_EQ(TwoDigits(99), "99");
}

TEST(DateField, OneDigitDayShownWithALeadingBlankReadsAsThatDay) {
  const date_e date = Date(" 5.03.24");
  EXPECT_EQ(date.day, 5);
  EXPECT_EQ(date.month, 3);
  EXPECT_EQ(date.year, 24);
  EXPECT_EQ(date.DeviceDateText(), "050324");
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
  // The two-digit years are numbers: 00 comes before 99.
  EXPECT_TRUE(Date("01.01.00").Before(Date("31.12.99")));
}

TEST(DateField, FirstOfPreviousMonthStaysInTheYearOrTurnsBackOne) {
  EXPECT_EQ(Date("31.03.24").FirstOfPreviousMonth(), "01.02.24");
  EXPECT_EQ(Date("15.01.24").FirstOfPreviousMonth(), "01.12.23");
  EXPECT_EQ(Date("10.01.00").FirstOfPreviousMonth(), "01.12.99");
  EXPECT_EQ(Date("01.10.09").FirstOfPreviousMonth(), "01.09.09");
}

TEST(TimeField, ReadsHoursAndMinutesAroundTheColon) {
  const time_e time(" 9:05");
  EXPECT_EQ(time.hour, 9);
  EXPECT_EQ(time.minute, 5);
  EXPECT_EQ(time.DeviceTimeText(), "0905");
  EXPECT_EQ(time_e("23:59").DeviceTimeText(), "2359");
}

TEST(TimeField, TextWithoutItsColonAtThirdPlaceGivesMidnight) {
  for (const char* text : {"9:05", "0905", "", "12.30"}) {
    const time_e time(text);
    EXPECT_EQ(time.hour, 0) << text;
    EXPECT_EQ(time.minute, 0) << text;
  }
}

TEST(TimeField, BlankPartRaisesAConversionError) {
  for (const char* text : {"  :  ", "12:  ", "  :30", "1 :30"})
    EXPECT_THROW(time_e{text}, ConvertError) << '"' << text << '"';
}

class WindowCreation : public ::testing::Test {
 protected:
  static std::tm At(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
  }

  RecordingUi ui;
  Application app{ui};
  TForm53& form = app.Form53;
};

TEST_F(WindowCreation, DateFieldsRunFromTheFirstOfThePreviousMonthToNow) {
  form.FillDateFields(At(2024, 1, 15, 9, 5));
  EXPECT_EQ(form.Edit4.text, "01.12.23");
  EXPECT_EQ(form.Edit6.text, "00:00");
  EXPECT_EQ(form.Edit5.text, "15.01.24");
  EXPECT_EQ(form.Edit7.text, "09:05");
  form.FillDateFields(At(2000, 1, 1, 23, 59));
  EXPECT_EQ(form.Edit4.text, "01.12.99");
  EXPECT_EQ(form.Edit5.text, "01.01.00");
  EXPECT_EQ(form.Edit7.text, "23:59");
}

TEST_F(WindowCreation, FieldsFilledFromTheClockReadBackAsAnInterval) {
  form.FormCreate();
  date_e start, end;
  start.ParseDate(form.Edit4.text);
  end.ParseDate(form.Edit5.text);
  EXPECT_TRUE(start.Before(end));
  EXPECT_EQ(start.day, 1);
  EXPECT_EQ(time_e(form.Edit7.text).DeviceTimeText().size(), 4u);
  EXPECT_EQ(form.ComboBox1.itemIndex, kTypeBoth);
}

TEST_F(WindowCreation, CaptionsAreTheWindowsOwn) {
  EXPECT_EQ(form.caption, W("Форма запроса и отображения данных"));
  EXPECT_EQ(form.GroupBox1.text, W("по номерам"));
  EXPECT_EQ(form.GroupBox2.text, W("по датам"));
  EXPECT_EQ(form.Button1.caption, W("Получить"));
  EXPECT_EQ(form.Button4.caption, W("Получить"));
  EXPECT_EQ(form.Button5.caption, W("Вернуть номера"));
  EXPECT_EQ(form.Button6.caption, W("Печать на РРО"));
  EXPECT_EQ(form.Edit3.text, "582941");
}

TEST_F(WindowCreation, ClosingShowsTheMainWindow) {
  form.Show();
  form.Button2Click();
  EXPECT_FALSE(form.visible);
  EXPECT_TRUE(app.Form3.visible);
  app.Form3.Hide();
  form.FormClose();
  EXPECT_TRUE(app.Form3.visible);
}

}  // namespace
}  // namespace morvek::test
