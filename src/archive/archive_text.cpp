#include "archive/archive_text.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace morvek {

namespace {

// Digits only, the whole text, into value; false for anything else or a value past long long.
bool Digits(std::string_view text, long long& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::optional<std::string> Day(std::string_view date, const char* time) {
  long long day = 0, month = 0, year = 0;
  if (date.size() != 8 || date[2] != '.' || date[5] != '.' || !Digits(date.substr(0, 2), day) ||
      !Digits(date.substr(3, 2), month) || !Digits(date.substr(6, 2), year))
    return std::nullopt;
  constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0;  // within 2000-2099
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] ||
      (month == 2 && day == 29 && !leap))
    return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "20%02lld-%02lld-%02lld %s", year, month, day, time);
  return std::string(text);
}

}  // namespace

std::optional<std::string> DayStart(std::string_view date) {
  return Day(date, "00:00:00");
}

std::optional<std::string> DayEnd(std::string_view date) {
  return Day(date, "23:59:59");
}

std::string ShortTimestamp(std::string_view timestamp) {
  if (timestamp.size() != 19 || timestamp[4] != '-' || timestamp[10] != ' ')
    return std::string(timestamp);
  return std::string(timestamp.substr(8, 2)) + '.' + std::string(timestamp.substr(5, 2)) + '.' +
         std::string(timestamp.substr(2, 2)) + ' ' + std::string(timestamp.substr(11));
}

std::string FixedPoint(long long units, int places) {
  // Worked in unsigned so that the most negative value has a magnitude too.
  const bool negative = units < 0;
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(units) : units;
  unsigned long long scale = 1;
  for (int i = 0; i < places; ++i) scale *= 10;
  char text[48];
  std::snprintf(text, sizeof text, "%s%llu.%0*llu", negative ? "-" : "", magnitude / scale, places,
                magnitude % scale);
  return text;
}

std::string Hryvnias(long long kopecks) {
  return FixedPoint(kopecks, 2);
}

std::optional<long long> Kopecks(std::string_view hryvnias) {
  const std::size_t point = hryvnias.find_first_of(".,");
  long long whole = 0, fraction = 0;
  if (!Digits(hryvnias.substr(0, point), whole)) return std::nullopt;
  if (point != std::string_view::npos) {
    const std::string_view decimals = hryvnias.substr(point + 1);
    if (decimals.size() > 2 || !Digits(decimals, fraction)) return std::nullopt;
    if (decimals.size() == 1) fraction *= 10;
  }
  if (whole > (std::numeric_limits<long long>::max() - fraction) / 100) return std::nullopt;
  return whole * 100 + fraction;
}

std::optional<NumberRange> ParseNumberRange(std::string_view text) {
  const std::size_t dash = text.find('-');
  NumberRange range;
  if (!Digits(text.substr(0, dash), range.first)) return std::nullopt;
  range.last = range.first;
  if (dash != std::string_view::npos && !Digits(text.substr(dash + 1), range.last))
    return std::nullopt;
  if (range.first < 1 || range.last < range.first) return std::nullopt;
  return range;
}

}  // namespace morvek
