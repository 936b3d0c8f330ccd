#include "link/zelmar_link.h"

#include <string>

#include "platform/socket.h"

namespace morvek {

LinkReply ZelmarLink::Reply(const ZelmarResult* result) {
  if (onResult) onResult(result);
  LinkReply reply;
  // The parameters as read, also of a reply that failed: the register check shows them.
  reply.params.assign(result->params.begin(), result->params.begin() + result->paramCount);
  reply.status = result->statusCode;
  const std::uint32_t flags = result->statusFlags;
  if (flags & ZelmarResult::kChecksumError) {
    reply.kind = LinkReply::Kind::kChecksum;
  } else if (flags & ZelmarResult::kNak) {
    reply.kind = LinkReply::Kind::kNak;
  } else if (flags & ZelmarResult::kNoReply) {
    // The driver drops a connection it found broken and could not make again.
    reply.kind = socket_.IsActive() ? LinkReply::Kind::kNoReply : LinkReply::Kind::kConnectionLost;
  } else {
    reply.kind = LinkReply::Kind::kAnswer;
    if (result->statusCode != "0000") reply.refusal = result->statusCode;
  }
  return reply;
}

LinkReply ZelmarLink::Diagnostics(std::string_view password) {
  int out = 0;
  return Reply(driver_.ZelmarGetDiagnostics(std::string(password), out));
}

LinkReply ZelmarLink::Fragment(std::string_view password, int docType, int number, int fragment) {
  int out = 0;
  return Reply(driver_.ZelmarGetDocument(std::string(password), docType, number, fragment, out, 0));
}

LinkReply ZelmarLink::NumbersByDate(std::string_view password, const DateTexts& dates) {
  int out = 0;
  return Reply(driver_.ZelmarGetDocumentsByDate(std::string(password), dates.startDate,
                                                dates.startTime, dates.endDate, dates.endTime, 0,
                                                out));
}

LinkReply ZelmarLink::PrintInterval(std::string_view password, int first, int last) {
  int out = 0;
  return Reply(driver_.ZelmarPrintInterval(std::string(password), first, last, out));
}

}  // namespace morvek
