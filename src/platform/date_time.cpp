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

}  // namespace

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
