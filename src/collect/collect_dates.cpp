#include "collect/collect_dates.h"

#include <cstdio>

#include "platform/date_time.h"

namespace morvek {

namespace {

std::string Timestamp(int year, int month, int day) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d 00:00:00", year, month, day);
  return text;
}

}  // namespace

std::optional<std::string> StartOfDay(std::string_view ddmmyy) {
  const auto day = ReadCalendarDay(ddmmyy);
  if (!day) return std::nullopt;
  return Timestamp(day->year, day->month, day->day);
}

std::string FirstOfPreviousMonth(const std::tm& now) {
  const bool january = now.tm_mon == 0;
  return Timestamp(1900 + now.tm_year - (january ? 1 : 0), january ? 12 : now.tm_mon, 1);
}

DateFields FieldsFrom(std::string_view timestamp, const std::tm& now) {
  // "YYYY-MM-DD HH:MM:SS": the fields are cut out of it.
  const std::string text(timestamp);
  DateFields fields;
  fields.startDate = text.substr(8, 2) + "." + text.substr(5, 2) + "." + text.substr(2, 2);
  fields.startTime = text.substr(11, 5);
  fields.endDate =
      TwoDigits(now.tm_mday) + "." + TwoDigits(now.tm_mon + 1) + "." + TwoDigits(now.tm_year % 100);
  fields.endTime = TwoDigits(now.tm_hour) + ":" + TwoDigits(now.tm_min);
  return fields;
}

}  // namespace morvek
