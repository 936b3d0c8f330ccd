#pragma once
// One way to talk to a register whichever protocol it speaks: a request in, the register's answer
// out. The Zelmar driver hands back a record it owns, the Datecs driver delivers its record to a
// callback and may deliver nothing at all; the adapters hide both behind this interface.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "blocks/block_transfer.h"

namespace morvek {

enum class Protocol { kDatecs, kZelmar };

// The remote-access server's port for each protocol.
inline constexpr int kDatecsServerPort = 34950;
inline constexpr int kZelmarServerPort = 34951;

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
  // The status text of a Zelmar reply as the driver read it, whatever its kind (for the messages
  // that show it); empty for a Datecs one.
  std::string status;
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
  // One block transfer of documents first to last (registers with recent firmware).
  virtual TransferEnd TransferBlocks(int docType, std::int32_t first, std::int32_t last,
                                     const BlockSink& sink) = 0;
  // Whether the connection stands: a driver drops one it found broken and could not make again.
  virtual bool Connected() const = 0;
};

// What both register protocols share on one TCP connection: the block transfer, which goes
// without the framing of either, and the connection's state.
class SocketLink : public RegisterLink {
 public:
  SocketLink(ClientSocket& socket, const BlockTimings& blockTimings)
      : socket_(socket), blockTimings_(blockTimings) {}
  TransferEnd TransferBlocks(int docType, std::int32_t first, std::int32_t last,
                             const BlockSink& sink) override;
  bool Connected() const override;

 protected:
  ClientSocket& socket_;

 private:
  const BlockTimings& blockTimings_;
  // A block exchange gave up before its reply came whole: the next transfer watches for it. Kept
  // across connections too, where it costs one short wait at most.
  bool blockReplyOwed_ = false;
};

}  // namespace morvek
