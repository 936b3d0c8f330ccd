#pragma once
// One way to talk to a register whichever protocol it speaks: a request in, the register's answer
// out. The Zelmar driver hands back a record it owns, the Datecs driver delivers its record to a
// callback and may deliver nothing at all; the adapters hide both behind this interface.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

enum class Protocol { kDatecs, kZelmar };

// The register's answer to one request.
struct LinkReply {
  enum class Kind {
    kAnswer,          // a well-formed reply
    kChecksum,        // a reply whose checksum did not match
    kNak,             // the register did not take the request
    kNoReply,         // nothing whole came back
    kConnectionLost,  // the connection broke and no reply was delivered
  };
  Kind kind = Kind::kNoReply;
  // The register refused the request in a well-formed reply: its status as it reads (a Zelmar
  // status text, a Datecs status word); empty when it did not.
  std::string refusal;
  std::vector<std::string> params;
};

// The date and time texts of a request by date, as the register takes them: ddmmyy and hhmm.
struct DateTexts {
  std::string startDate, startTime, endDate, endTime;
};

class RegisterLink {
 public:
  virtual ~RegisterLink() = default;
  virtual Protocol protocol() const = 0;
  // The register's diagnostic query (the password goes with a Zelmar query only).
  virtual LinkReply Diagnostics(std::string_view password) = 0;
  // One fragment of a document: type code 0 for Z-reports, 1 for the others.
  virtual LinkReply Fragment(std::string_view password, int docType, int number, int fragment) = 0;
  // The first and last document numbers of a date interval.
  virtual LinkReply NumbersByDate(std::string_view password, const DateTexts& dates) = 0;
  // Printing documents first to last on the register's paper.
  virtual LinkReply PrintInterval(std::string_view password, int first, int last) = 0;
};

}  // namespace morvek
