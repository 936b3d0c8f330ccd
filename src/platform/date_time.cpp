#include "platform/date_time.h"

#include <tuple>

#include "platform/numbers.h"

namespace morvek {

namespace {

// The integer of the two characters at a position counted from 0; of what is left of them in a
// field cut short.
int PartAt(std::string_view text, std::size_t at) {
  return StrToInt(at < text.size() ? text.substr(at, 2) : std::string_view());
}

// Two decimal digits at a position, as a number; nothing when either is no digit.
std::optional<int> DigitsAt(std::string_view text, std::size_t at) {
  const char high = text[at], low = text[at + 1];
  if (high < '0' || high > '9' || low < '0' || low > '9') return std::nullopt;
  return (high - '0') * 10 + (low - '0');
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::optional<CalendarDay> ReadCalendarDay(std::string_view ddmmyy) {
  if (ddmmyy.size() != 8 || ddmmyy[2] != '.' || ddmmyy[5] != '.') return std::nullopt;
  const auto day = DigitsAt(ddmmyy, 0), month = DigitsAt(ddmmyy, 3), year = DigitsAt(ddmmyy, 6);
  if (!day || !month || !year || *month < 1 || *month > 12) return std::nullopt;
  const CalendarDay read{2000 + *year, *month, *day};
  if (read.day < 1 || read.day > DaysInMonth(read.year, read.month)) return std::nullopt;
  return read;
}

std::string TwoDigits(int n) {
  return (n <= 9 ? "0" : "") + std::to_string(n);
}

void date_e::ParseDate(std::string_view text) {
  day = PartAt(text, 0);
  month = PartAt(text, 3);
  year = PartAt(text, 6);
}

std::string date_e::DeviceDateText() const {
  return TwoDigits(day) + TwoDigits(month) + TwoDigits(year);
}

std::string date_e::FirstOfPreviousMonth() const {
  const bool january = month == 1;
  const int previousMonth = january ? 12 : month - 1;
  // The two-digit year turns from 00 back to 99, not to -1.
  const int previousYear = !january ? year : year == 0 ? 99 : year - 1;
  return TwoDigits(1) + "." + TwoDigits(previousMonth) + "." + TwoDigits(previousYear);
}

bool date_e::Before(const date_e& other) const {
  return std::tie(year, month, day) < std::tie(other.year, other.month, other.day);
}

time_e::time_e(std::string_view text) {
  if (text.find(':') != 2) return;
  hour = PartAt(text, 0);
  minute = PartAt(text, 3);
}

std::string time_e::DeviceTimeText() const {
  return TwoDigits(hour) + TwoDigits(minute);
}

}  // namespace morvek
