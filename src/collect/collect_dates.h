#pragma once
// The dates a collector works with: the archive's timestamps ("YYYY-MM-DD HH:MM:SS"), the
// command line's days (DD.MM.YY) and the fields of a request by date (dd.mm.yy, hh:mm).
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "session/by_date.h"

namespace morvek {

// The start of a day DD.MM.YY (years 2000 to 2099) as the archive writes it; nothing for a text
// that is no such date of the calendar.
std::optional<std::string> StartOfDay(std::string_view ddmmyy);

// The start of the first day of the month before now's, as the retrieval window proposes it.
std::string FirstOfPreviousMonth(const std::tm& now);

// A request from a timestamp (its minute) to now's minute; raises std::out_of_range for a
// timestamp too short to be one.
DateFields FieldsFrom(std::string_view timestamp, const std::tm& now);

}  // namespace morvek
