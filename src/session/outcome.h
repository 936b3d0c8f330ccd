#pragma once
// What became of every document a request asked for: it arrived, the register has none of that
// number, or it was lost on the way and why. The retrieval window fills it; the desktop program
// names the lost documents in a message, the terminal program on standard error and in its exit
// status. Numbers are kept as runs of one outcome, so that a range of two billion numbers the
// register holds nothing of costs one entry.
#include <cstdint>
#include <string>
#include <vector>

namespace morvek {

enum class Fate {
  kDelivered,  // it arrived whole in this request and is well-formed
  kHeld,       // it was loaded before and is not asked again
  kAbsent,     // the register answered well and has no such document
  kLost,       // asked for, but it did not arrive
};

enum class Reason {
  kNone,
  // Absent at the register.
  kRefused,        // the register answered with an error status
  kNoFragment,     // the register gave no fragment: the end of the tape or a gap in its numbering
  kSingleParam,    // the register answered with a single parameter
  kNotInTransfer,  // no block of the transfer carried it
  // Lost.
  kChecksum,         // the reply's checksum did not match on any try
  kNoReply,          // the register did not answer
  kNak,              // the register did not take the request
  kConnectionLost,   // the connection was lost and could not be made again
  kCutShort,         // its fragments stopped on an error after some had arrived
  kUnexpectedReply,  // a reply that is no fragment
  kDoesNotParse,     // the document put together is not well-formed XML
  kRequestFailed,    // the request failed before its documents were loaded and shown
  kDamagedBlock,     // a block of it failed its CRC or came without the magic
  kTransferBroken,   // the transfer ended before it came
};

struct OutcomeRun {
  std::int32_t first = 0, last = 0;
  Fate fate = Fate::kDelivered;
  Reason reason = Reason::kNone;
  std::string status;  // the register's status where there is one, as it reads
};

class RequestOutcome {
 public:
  // How far a request got: its fields refused (or malformed), the register failing before any
  // document could be asked for (no numbers for a date interval), or documents asked for.
  enum class Stage { kRefused, kRegisterFailed, kAsked };

  // A new request.
  void Begin();
  // Documents first to last of type code docType (0 Z-reports, 1 the others) are being asked for.
  void Ask(int docType, std::int32_t first, std::int32_t last);
  // The outcome of first to last, appended after what is there; numbers come in ascending order.
  void Add(std::int32_t first, std::int32_t last, Fate fate, Reason reason = Reason::kNone,
           const std::string& status = {});
  void Add(std::int32_t number, Fate fate, Reason reason = Reason::kNone,
           const std::string& status = {}) {
    Add(number, number, fate, reason, status);
  }
  // The request failed: the documents it delivered, and those it had not come to, are lost.
  void Abort(Reason reason);

  Stage stage = Stage::kRefused;
  int docType = 1;
  const std::vector<OutcomeRun>& Runs() const { return runs_; }
  long long Count(Fate fate) const;
  // True when documents were asked for and not one of them got through to the register: the
  // connection failed before any document could be asked for.
  bool NothingReached() const;

 private:
  std::vector<OutcomeRun> runs_;
  long long next_ = 1;     // the first number asked for without an outcome yet
  std::int32_t last_ = 0;  // the last number asked for
};

// The message the desktop program shows at the end of a request with lost documents: the count,
// then up to 20 numbers with their reasons, then how many more. Windows-1251.
std::string LostDocumentsMessage(const RequestOutcome& outcome);
// One line for each run of documents not delivered: "receipt 1519: lost: no reply",
// "Z-reports 90 to 99: absent at the register: ...".
std::vector<std::string> UndeliveredLines(const RequestOutcome& outcome);

}  // namespace morvek
