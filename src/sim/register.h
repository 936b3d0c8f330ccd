#pragma once
// A simulated fiscal register of either protocol: it answers request frames with reply frames
// and, when its firmware is recent enough, block requests with reply blocks, serving the documents
// of a journal. One Register lives for one connection; what it sends is returned as an Output
// for the server to write.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/faults.h"
#include "sim/frames.h"
#include "sim/journal.h"
#include "sim/sim_log.h"

namespace morvek::sim {

enum class Protocol { kDatecs, kZelmar };

struct RegisterConfig {
  Protocol protocol = Protocol::kZelmar;
  std::string firmware = "Nov 12 2014";  // build date as "Mmm dd yyyy", day right-aligned
  std::string fiscalNumber = "4000000001";
  std::string idDev = "ZL0000001";
  int fragmentSize = 200;  // Base64 characters per A7h fragment, 4 to 200
  bool block = false;      // answer blocks even when the firmware date would not
  int busySyn = 0;         // SYN bytes before every reply
  std::vector<Fault> faults;
  RandomFaults randomFaults;
};

// Zelmar status texts of this register.
inline constexpr std::string_view kStatusOk = "0000";
inline constexpr std::string_view kStatusSyntaxError = "0001";
inline constexpr std::string_view kStatusUnknownCommand = "0002";
inline constexpr std::string_view kStatusNoDocument = "0C07";
inline constexpr std::string_view kStatusNoDocumentsInInterval = "0C06";
inline constexpr std::string_view kStatusAcquirerLink = "0CD0";

// Whether a firmware date lets the tool use block transfer: 4 December 2015 or later, the day
// right-aligned with a space.
bool FirmwareAllowsBlocks(std::string_view firmware);
// The firmware date as the Datecs diagnostics write it: day without a leading zero, month name,
// two-digit year ("4Dec15"). Empty when the text is no "Mmm dd yyyy" date.
std::string DatecsFirmwareDate(std::string_view firmware);

struct Output {
  std::vector<std::string> pieces;  // written in order, with a pause between two pieces
  bool slow = false;                // the long pause of a slow drip rather than the short one
  bool close = false;               // close the connection after writing
  bool gone = false;                // and take no more: the server ends
};

// Block format: magic 07 07, then (request) command, length, payload, CRC; (reply) flags, a spare
// byte, the document number (int32), length, payload, CRC. Little-endian; the CRC-16/MODBUS of the
// payload alone.
inline constexpr std::size_t kMaxBlock = 1460;
inline constexpr std::size_t kMaxBlockPayload = kMaxBlock - 12;
inline constexpr std::uint8_t kBlockGiveDocuments = 0x10;
inline constexpr std::uint8_t kBlockContinue = 0x21;
inline constexpr std::uint8_t kFlagLastBlock = 0x01;
inline constexpr std::uint8_t kFlagContinued = 0x02;

std::string BuildReplyBlock(std::uint8_t flags, std::int32_t document, std::string_view payload);
std::string BuildRequestBlock(std::uint8_t command, std::string_view payload);

class Register {
 public:
  Register(const RegisterConfig& config, const Journal& journal, SimLog& log);

  bool blocksEnabled() const { return blocksEnabled_; }
  // The answer to a whole request frame, to a broken one, and to a request block.
  Output OnFrame(const Request& request, int requestNumber);
  Output OnBrokenFrame(int requestNumber);
  Output OnBlock(std::uint8_t command, std::string_view payload, bool crcOk, int requestNumber);

 private:
  struct Answer {
    std::uint8_t sequence = 0x20;
    std::uint8_t command = 0;
    std::string status{kStatusOk};  // Zelmar only
    std::string data;
    StatusBytes statusBytes = kStatusClear;
  };

  void Execute(const Request& request, Answer& answer);
  void Diagnostics(Answer& answer) const;
  void Document(const std::vector<std::string>& params, Answer& answer) const;
  void DocumentsByDate(const std::vector<std::string>& params, Answer& answer) const;
  void PrintInterval(const std::vector<std::string>& params, Answer& answer) const;
  void SyntaxError(Answer& answer) const;
  void NotAllowed(Answer& answer, std::string_view zelmarStatus) const;
  std::string Join(const std::vector<std::string>& params) const;
  std::string NextBlock();
  Output Deliver(std::string bytes, const std::vector<Fault>& faults);
  // The faults given for a request, and the one drawn at random if any.
  std::vector<Fault> FaultsOf(int requestNumber) const;

  const RegisterConfig& config_;
  const Journal& journal_;
  SimLog& log_;
  bool blocksEnabled_;
  bool stopped_ = false;
  std::string heldBack_;  // a late reply, sent before the next one

  // The block transfer in progress.
  std::vector<const JournalDocument*> transfer_;
  std::size_t transferAt_ = 0;
  std::string transferText_;  // Base64 of the document being sent
  std::size_t transferOffset_ = 0;
  std::int32_t transferFirst_ = 0;
};

}  // namespace morvek::sim
