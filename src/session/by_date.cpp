#include "session/by_date.h"

#include "platform/numbers.h"

namespace morvek {

DateInterval ReadDateFields(const DateFields& fields) {
  DateInterval interval;
  interval.startDate.ParseDate(fields.startDate);
  interval.endDate.ParseDate(fields.endDate);
  interval.startTime = time_e(fields.startTime);
  interval.endTime = time_e(fields.endTime);
  return interval;
}

NumbersReply AskNumbersByDate(RegisterLink& link, std::string_view password,
                              const DateInterval& interval) {
  const DateTexts dates{interval.startDate.DeviceDateText(), interval.startTime.DeviceTimeText(),
                        interval.endDate.DeviceDateText(), interval.endTime.DeviceTimeText()};
  const LinkReply reply = link.NumbersByDate(password, dates);
  NumbersReply numbers;
  numbers.status = reply.status;
  numbers.refused = reply.kind == LinkReply::Kind::kAnswer && !reply.refusal.empty();
  if (reply.kind != LinkReply::Kind::kAnswer || !reply.refusal.empty() || reply.params.size() != 2)
    return numbers;
  numbers.first = StrToInt(reply.params[0]);
  numbers.last = StrToInt(reply.params[1]);
  numbers.given = true;
  return numbers;
}

}  // namespace morvek
