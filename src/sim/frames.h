#pragma once
// The register's side of the byte frames of both protocols.
//
// Request frame, the same in both protocols (n data bytes):
//   SOH  LEN=20h+n+4  SEQ  CMD  DATA[n]  ENQ  d3 d2 d1 d0  ETX
// Zelmar reply (m data bytes):
//   SOH  LEN=30h+m  SEQ  CMD  status text  ';'  DATA[m]  EOT  S0..S5  ENQ  d3 d2 d1 d0  ETX
// Datecs reply (m data bytes):
//   SOH  LEN=20h+m+11  SEQ  CMD  DATA[m]  EOT  S0..S5  ENQ  d3 d2 d1 d0  ETX
// The digits carry the 16 low bits of the sum of the bytes from LEN to ENQ, a nibble each, most
// significant first, each added to 30h. The register answers with the SEQ byte of the request.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvek::sim {

inline constexpr char kSoh = 0x01;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;
inline constexpr char kEnq = 0x05;
inline constexpr char kNak = 0x15;
inline constexpr char kSyn = 0x16;

// The most data bytes a reply can carry: LEN is one byte.
inline constexpr std::size_t kZelmarMaxReplyData = 0xFF - 0x30;
inline constexpr std::size_t kDatecsMaxReplyData = 0xFF - 0x2B;

using StatusBytes = std::array<std::uint8_t, 6>;
// A register with nothing to report: bit 7 of every status byte is always set.
inline constexpr StatusBytes kStatusClear = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

struct Request {
  std::uint8_t sequence = 0;  // the SEQ byte as sent
  std::uint8_t command = 0;
  std::string data;
};

// Reads request frames byte by byte. A frame that breaks its format (a length below 24h, a
// sequence outside 20h..7Eh, no ENQ after the data, a digit outside 30h..3Fh, no ETX, or a
// checksum that does not match) is reported as broken, which the register answers with NAK. An
// SOH always starts a new frame.
class RequestParser {
 public:
  enum class Event { kNone, kFrame, kBroken };

  Event Feed(std::uint8_t b);
  // True between frames: the next byte is not part of a request frame unless it is an SOH.
  bool Idle() const { return state_ == State::kIdle; }
  const Request& request() const { return request_; }

 private:
  enum class State { kIdle, kLength, kSequence, kCommand, kData, kPostamble, kChecksum, kEnd };
  Event Break();

  State state_ = State::kIdle;
  Request request_;
  std::size_t dataLength_ = 0;
  unsigned sum_ = 0;
  unsigned digits_ = 0;
  unsigned checksum_ = 0;
};

// Appends the four checksum digits of a sum.
void AppendChecksumDigits(std::string& frame, unsigned sum);

// A whole reply frame. The data is written as given, even beyond what LEN can count (the
// over-long reply of fault injection): LEN then holds its largest value.
std::string BuildZelmarReply(std::uint8_t sequence, std::uint8_t command, std::string_view status,
                             std::string_view data, const StatusBytes& statusBytes);
std::string BuildDatecsReply(std::uint8_t sequence, std::uint8_t command, std::string_view data,
                             const StatusBytes& statusBytes);

// The reply frame with its LEN byte one short, its checksum counted over that LEN as a register
// that miscounts would.
std::string WithLengthOneShort(std::string frame);

// A request frame as the tool sends it; the tests and the benchmark drive the register with it.
std::string BuildRequestFrame(std::uint8_t sequence, std::uint8_t command, std::string_view data);

}  // namespace morvek::sim
