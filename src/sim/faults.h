#pragma once
// Faults a simulated register can be told to commit, each at one request: "nak@3" answers the
// third request (counted from 1 over the server's life, frames and blocks alike) with NAK.
// "status@2=0CD0" gives an argument.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvek::sim {

enum class FaultKind {
  kSynBurst,       // syn: a burst of SYN bytes before the reply (argument: how many, 20)
  kNak,            // nak: NAK instead of the reply
  kBadChecksum,    // checksum: the reply with a wrong last checksum digit
  kSplit,          // split: the reply in three pieces with pauses between them
  kDrip,           // drip: the reply a byte at a time, with a pause after each
  kSilent,         // silent: no reply at all
  kGarbage,        // garbage: bytes without SOH instead of the reply
  kClose,          // close: the connection closed instead of the reply
  kWrongSequence,  // seq: the reply carries another SEQ
  kWrongCommand,   // command: the reply carries another command code
  kErrorStatus,    // status: a register error (Zelmar status text, argument "0CD0" by default;
                   // Datecs: "command not allowed" in the status bytes)
  kOverlong,       // overlong: a reply with more data than LEN can count
  kTooManyParams,  // params: a reply of 25 parameters
  kBadCrc,         // crc: a reply block with a wrong CRC
  kNoMagic,        // nomagic: a reply block without its 0707h magic
  kOversizeBlock,  // bigblock: a reply block longer than 1460 bytes
  kStopAnswering,  // stop: no answer to this request or any later one of the connection
  kLate,           // late: the reply held back and sent just before the next one
  kShortLength,    // shortlen: a reply whose LEN byte is one short
  kGone,           // gone: the server goes away instead of the reply: it closes the connection
                   // and takes no more
};

struct Fault {
  FaultKind kind = FaultKind::kNak;
  int request = 1;
  std::string argument;
};

// "kind@N" or "kind@N=ARG"; nothing when the text is not one of these.
std::optional<Fault> ParseFault(std::string_view option);
std::string_view FaultName(FaultKind kind);
// Every kind with what it does, for the program's help.
std::string FaultHelp();

// The faults of one request, in the order given.
std::vector<Fault> FaultsAt(const std::vector<Fault>& faults, int request);

// Faults at random, for long runs: each request draws one of kinds with probability rate. The
// draw depends on the seed and the request number alone, so a run can be repeated exactly.
struct RandomFaults {
  double rate = 0.0;
  std::uint64_t seed = 1;
  std::vector<FaultKind> kinds;
};
std::optional<Fault> RandomFaultAt(const RandomFaults& random, int request);
// "syn,split,nak" as kinds; nothing when a name is not a kind.
std::optional<std::vector<FaultKind>> ParseFaultKinds(std::string_view names);

}  // namespace morvek::sim
