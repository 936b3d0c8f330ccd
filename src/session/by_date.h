#pragma once
// A date and time interval, as the four fields of a request by date hold it, and the register's
// first and last document numbers for it.
#include <string>
#include <string_view>

#include "link/register_link.h"
#include "platform/date_time.h"

namespace morvek {

// The four fields as typed: "dd.mm.yy" and "hh:mm", a blank position as a space.
struct DateFields {
  std::string startDate, startTime, endDate, endTime;
};

struct DateInterval {
  date_e startDate, endDate;
  time_e startTime, endTime;
};

// Read in the order start date, end date, start time, end time; a blank or malformed field raises
// ConvertError.
DateInterval ReadDateFields(const DateFields& fields);

// The register's answer to a request for the numbers of an interval.
struct NumbersReply {
  bool given = false;    // it gave both numbers
  bool refused = false;  // it answered with a refusal: none in the interval, or an error
  int first = 0, last = 0;
  std::string status;  // the Zelmar status text as read, for the messages that show it
};
NumbersReply AskNumbersByDate(RegisterLink& link, std::string_view password,
                              const DateInterval& interval);

}  // namespace morvek
