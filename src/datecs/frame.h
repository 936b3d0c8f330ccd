#pragma once
// Datecs frames and the reply parser.
//
// Request:  SOH LEN SEQ CMD DATA(n) ENQ C3 C2 C1 C0 ETX          LEN = 20h + n + 4
// Reply:    SOH LEN SEQ CMD DATA(m) EOT S0..S5 ENQ C3 C2 C1 C0 ETX   LEN = 20h + m + 11
//
// LEN counts the bytes from LEN to ENQ plus 20h; SEQ is 20h + the sequence counter mod 95. The
// checksum digits carry the 16 low bits of the sum of the unsigned bytes from LEN to ENQ, nibble by
// nibble, most significant first, each plus 30h ('0' to '?').
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/control_bytes.h"

namespace morvek::datecs {

// Request data beyond this is cut, so that LEN stays within one byte.
inline constexpr std::size_t kMaxRequestData = 219;
// LEN is at most FFh, so a reply carries at most FFh - 2Bh data bytes.
inline constexpr std::size_t kMaxReplyData = 0xFF - 0x2B;

// Increments the sequence counter (255 wraps to 0) and returns the request frame for the command
// and its parameter text (cut at kMaxRequestData bytes).
std::string BuildRequest(std::uint8_t& sequenceCounter, std::uint8_t command,
                         std::string_view text);

enum class ReplyState : std::uint8_t {
  kIdle,         // 0: waits for SOH
  kLength,       // 1: LEN
  kSequence,     // 2: SEQ
  kCommand,      // 3: CMD
  kData,         // 4: dataLength bytes of data
  kEndOfData,    // 5: EOT
  kStatusBytes,  // 6: S0..S5
  kPostamble,    // 7: ENQ
  kChecksum,     // 8: four digits
  kEnd,          // 9: ETX
};

// What the parser fills from the bytes of one exchange. Its state survives between exchanges;
// every reply starts with SOH, which restarts it.
struct ReplyParser {
  ReplyState state = ReplyState::kIdle;
  std::size_t counter = 0;  // bytes stored in the current field

  std::uint8_t dataLength = 0;     // LEN - 2Bh
  std::uint8_t replySequence = 0;  // SEQ - 20h
  std::uint8_t replyCommand = 0;
  std::string data;  // at most kMaxReplyData bytes
  std::array<std::uint8_t, 6> statusRaw{};
  std::uint32_t sum = 0;            // of the bytes the checksum covers
  std::uint32_t checksumValue = 0;  // of the received digits
  bool frameComplete = false;
  bool replyOk = false;  // an ETX ended the frame, or a NAK arrived
  bool nakSeen = false;
  bool frameBegun = false;    // an SOH came since the request: an ETX now ends a frame
  bool checksumRead = false;  // all four digits of the current frame came
  std::uint32_t synCount = 0;
  // Every byte received except SYN, in arrival order; bytes beyond its size are dropped from it
  // (the parser still sees them).
  std::string rawReply;
};

// Clears what one exchange fills. The state is left, and so is rawReply: the driver empties it
// once the record has taken it, so that it also keeps the bytes of a reply dropped on the way.
void ResetParser(ReplyParser& parser);
// Advances the parser by one received byte.
void FeedByte(ReplyParser& parser, std::uint8_t b);

}  // namespace morvek::datecs
