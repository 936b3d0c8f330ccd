#pragma once
// Zelmar byte frames: the request the driver builds and the reply parser.
//
// Request (n data bytes, n at most 219):
//   SOH  LEN=20h+n+4  SEQ=20h+(counter mod 95)  CMD  DATA[n]  ENQ  d3 d2 d1 d0  ETX
// Reply (m data bytes, m at most 207):
//   SOH  LEN=30h+m  SEQ  CMD  status text  ';'  DATA[m]  EOT  S0..S5  ENQ  d3 d2 d1 d0  ETX
// The digits carry the 16 low bits of the sum of the unsigned bytes from LEN to ENQ, one nibble
// each, most significant first, each added to 30h (so '0' to '?').
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/control_bytes.h"

namespace morvek::zelmar {

inline constexpr std::uint8_t kSeparator = ';';

// The most data bytes a request carries, so that LEN stays within one byte.
inline constexpr std::size_t kMaxRequestData = 219;
// What the reply fields hold; further bytes of one exchange are dropped from that field only.
inline constexpr std::size_t kMaxStatusText = 19;
inline constexpr std::size_t kMaxRawReply = 303;

// The SEQ byte of a sequence counter value.
constexpr std::uint8_t SequenceByte(std::uint8_t counter) {
  return static_cast<std::uint8_t>(0x20 + counter % 95);
}

// Increments the counter (255 wraps to 0) and returns the frame of the command and its parameter
// text; data beyond 219 bytes is cut.
std::string BuildRequest(std::uint8_t& counter, std::uint8_t command, std::string_view text);

enum class ReplyState : std::uint8_t {
  kIdle,         // 0: waits for SOH
  kLength,       // 1: LEN
  kSequence,     // 2: SEQ
  kCommand,      // 3: CMD
  kStatusText,   // 4: status text up to ';'
  kData,         // 5: dataLength bytes of data
  kEndOfData,    // 6: EOT
  kStatusBytes,  // 7: S0..S5
  kPostamble,    // 8: ENQ
  kChecksum,     // 9: four digits
  kEnd,          // 10: ETX
};

// What the parser fills from the bytes of one exchange.
struct ReplyParser {
  ReplyState state = ReplyState::kIdle;
  int counter = 0;  // bytes taken of the current field

  std::uint8_t dataLength = 0;     // LEN - 30h
  std::uint8_t replySequence = 0;  // SEQ - 20h
  std::uint8_t replyCommand = 0;
  std::string statusText;  // at most 19 characters
  std::string data;        // at most 207 bytes
  std::array<std::uint8_t, 6> statusRaw{};
  std::uint32_t sum = 0;            // of the bytes the checksum covers
  std::uint32_t checksumValue = 0;  // of the four digits received
  bool frameComplete = false;
  bool replyOk = false;  // an ETX ended the frame, or a NAK arrived
  bool nakSeen = false;
  bool frameBegun = false;    // an SOH came since the request: an ETX now ends a frame
  bool checksumRead = false;  // all four digits of the current frame came
  long synCount = 0;
  std::string rawReply;  // every byte but SYN, at most 303
};

// Clears what one exchange fills, rawReply with it. The state is left: every reply starts with
// SOH, which restarts it; and only the command byte of a new reply empties the status text.
void ResetParser(ReplyParser& parser);
// Advances the parser by one received byte.
void FeedByte(ReplyParser& parser, std::uint8_t b);

}  // namespace morvek::zelmar
