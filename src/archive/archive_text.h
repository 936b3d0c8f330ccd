#pragma once
// How dates, sums and number ranges of the archive are read from people and written for them.
#include <optional>
#include <string>
#include <string_view>

namespace morvek {

// "DD.MM.YY" (the years 2000-2099) as the archive's timestamp of the first or the last second of
// that day; none for a text that is no such date.
std::optional<std::string> DayStart(std::string_view date);
std::optional<std::string> DayEnd(std::string_view date);

// "YYYY-MM-DD HH:MM:SS" as "DD.MM.YY HH:MM:SS"; other texts as they are.
std::string ShortTimestamp(std::string_view timestamp);

// Kopecks as hryvnias with two decimals: 1250 as "12.50", -5 as "-0.05".
std::string Hryvnias(long long kopecks);
// Whole units of 10^-places as a decimal with that many places (1 to 18), never through a float:
// thousandths 1000 as "1.000".
std::string FixedPoint(long long units, int places);
// "12", "12.5" or "12.50" hryvnias (a comma does for the point) as kopecks; none for any other
// text.
std::optional<long long> Kopecks(std::string_view hryvnias);

struct NumberRange {
  long long first = 0, last = 0;
};
// "N" or "N-M" with 1 <= N <= M; none otherwise.
std::optional<NumberRange> ParseNumberRange(std::string_view text);

}  // namespace morvek
