#pragma once
// The date and time fields of the request by date, read as their masks show them ("dd.mm.yy",
// "hh:mm", a blank position as a space), and the texts the register is sent ("050324", "0905").
#include <optional>
#include <string>
#include <string_view>

namespace morvek {

// A day of the calendar, years in full.
struct CalendarDay {
  int year = 0, month = 0, day = 0;
};
// "DD.MM.YY" as a day of the years 2000 to 2099; nothing for a text that is no such day.
std::optional<CalendarDay> ReadCalendarDay(std::string_view ddmmyy);
int DaysInMonth(int year, int month);

// The decimal text of n, with "0" put in front when n is at most 9.
std::string TwoDigits(int n);

// A date read from a date field: two-digit year, month, day.
class date_e {
 public:
  int year = 0;
  int month = 0;
  int day = 0;

  // Day from the characters at positions 1-2, month from 4-5, year from 7-8 (counted from 1). A
  // blank or non-numeric part raises ConvertError.
  void ParseDate(std::string_view text);
  // DDMMYY.
  std::string DeviceDateText() const;
  // "dd.mm.yy" of the first day of the month before; January of year 00 gives December of 99.
  std::string FirstOfPreviousMonth() const;
  // Compared by year, then month, then day, the two-digit years as numbers.
  bool Before(const date_e& other) const;
};

// A time read from a time field: hours and minutes.
class time_e {
 public:
  time_e() = default;
  // When the first ":" stands at position 3: hours from positions 1-2, minutes from 4-5; any other
  // text leaves 00:00. A blank or non-numeric part raises ConvertError.
  explicit time_e(std::string_view text);

  int hour = 0;
  int minute = 0;

  // HHMM.
  std::string DeviceTimeText() const;
};

}  // namespace morvek
