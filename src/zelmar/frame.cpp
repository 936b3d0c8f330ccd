#include "zelmar/frame.h"

#include <cstdio>

namespace morvek::zelmar {

std::string ChecksumDigits(std::uint32_t sum) {
  std::string digits(4, '0');
  for (int i = 0; i < 4; ++i)
    digits[static_cast<std::size_t>(i)] = static_cast<char>(0x30 + ((sum >> (12 - 4 * i)) & 0x0F));
  return digits;
}

std::string BuildRequest(std::uint8_t& counter, std::uint8_t command, std::string_view text) {
  if (text.size() > kMaxRequestData) text = text.substr(0, kMaxRequestData);
  ++counter;
  std::string frame;
  frame.reserve(text.size() + 10);
  frame += static_cast<char>(kSoh);
  frame += static_cast<char>(0x20 + text.size() + 4);
  frame += static_cast<char>(SequenceByte(counter));
  frame += static_cast<char>(command);
  frame += text;
  frame += static_cast<char>(kEnq);
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<unsigned char>(frame[i]);
  frame += ChecksumDigits(sum);
  frame += static_cast<char>(kEtx);
  return frame;
}

void ResetParser(ReplyParser& parser) {
  parser.replyOk = false;
  parser.nakSeen = false;
  parser.frameBegun = false;
  parser.checksumRead = false;
  parser.synCount = 0;
  parser.data.clear();
  parser.statusRaw.fill(0);
  parser.rawReply.clear();
}

namespace {

using State = ReplyState;

void Add(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
}

// One handler per state: takes the byte, returns the next state.
State Idle(ReplyParser& p, std::uint8_t b) {
  p.sum = 0;
  p.checksumRead = false;
  if (b != kSoh) return State::kIdle;
  p.frameBegun = true;
  return State::kLength;
}

State Length(ReplyParser& p, std::uint8_t b) {
  if (b < 0x30) return State::kIdle;
  p.dataLength = static_cast<std::uint8_t>(b - 0x30);
  Add(p, b);
  return State::kSequence;
}

State Sequence(ReplyParser& p, std::uint8_t b) {
  if (b < 0x20) return State::kIdle;
  p.replySequence = static_cast<std::uint8_t>(b - 0x20);
  Add(p, b);
  return State::kCommand;
}

State Command(ReplyParser& p, std::uint8_t b) {
  p.replyCommand = b;
  Add(p, b);
  p.statusText.clear();
  p.data.clear();
  p.counter = 0;
  return State::kStatusText;
}

State StatusText(ReplyParser& p, std::uint8_t b) {
  Add(p, b);
  if (b == kSeparator) return p.dataLength > 0 ? State::kData : State::kEndOfData;
  if (p.statusText.size() < kMaxStatusText) p.statusText += static_cast<char>(b);
  return State::kStatusText;
}

State Data(ReplyParser& p, std::uint8_t b) {
  if (p.data.size() < p.dataLength) {
    p.data += static_cast<char>(b);
    Add(p, b);
  }
  return p.data.size() < p.dataLength ? State::kData : State::kEndOfData;
}

State Separator(ReplyParser& p, std::uint8_t b) {
  Add(p, b);
  p.counter = 0;
  return b == kEot ? State::kStatusBytes : State::kIdle;
}

State StatusBytes(ReplyParser& p, std::uint8_t b) {
  if (p.counter < 6) {
    p.statusRaw[static_cast<std::size_t>(p.counter++)] = b;
    Add(p, b);
  }
  return p.counter < 6 ? State::kStatusBytes : State::kPostamble;
}

State Postamble(ReplyParser& p, std::uint8_t b) {
  Add(p, b);
  p.counter = 0;
  p.checksumValue = 0;
  return b == kEnq ? State::kChecksum : State::kIdle;
}

State Checksum(ReplyParser& p, std::uint8_t b) {
  if (p.counter < 4) {
    // Unsigned on purpose: a control byte in place of a digit gives a value no sum matches.
    p.checksumValue = p.checksumValue * 16 + (static_cast<std::uint32_t>(b) - 0x30u);
    p.checksumRead = ++p.counter == 4;
  }
  return p.counter < 4 ? State::kChecksum : State::kEnd;
}

State End(ReplyParser& p, std::uint8_t b) {
  p.frameComplete = true;
  if (b == kEtx) p.replyOk = true;
  return State::kIdle;
}

using Handler = State (*)(ReplyParser&, std::uint8_t);
// Indexed by ReplyState.
constexpr Handler kHandlers[] = {
    Idle,         // 0  idle        SOH -> 1
    Length,       // 1  LEN >= 30h  -> 2
    Sequence,     // 2  SEQ >= 20h  -> 3
    Command,      // 3  CMD         -> 4
    StatusText,   // 4  up to ';'   -> 5, or 6 without data
    Data,         // 5  data        -> 6 after dataLength bytes
    Separator,    // 6  EOT         -> 7
    StatusBytes,  // 7  S0..S5      -> 8 after the sixth
    Postamble,    // 8  ENQ         -> 9
    Checksum,     // 9  four digits -> 10
    End,          // 10 ETX         -> 0
};
static_assert(std::size(kHandlers) == static_cast<std::size_t>(State::kEnd) + 1);

void Handle(ReplyParser& p, std::uint8_t b) {
  p.state = kHandlers[static_cast<std::size_t>(p.state)](p, b);
}

}  // namespace

void FeedByte(ReplyParser& p, std::uint8_t b) {
  if (b == kSyn) {
    ++p.synCount;
  } else if (p.rawReply.size() < kMaxRawReply) {
    p.rawReply += static_cast<char>(b);
  }
  if (b >= 0x20) return Handle(p, b);
  switch (b) {
    case kSoh: p.state = State::kIdle; return Handle(p, b);
    case kEtx:
      // An ETX ends the reply once one has begun, early or not, also after a byte that did not
      // fit threw the parser back to idle: the register has nothing more to send. Before any SOH
      // there is nothing to end: taking it as a complete reply would hand the previous reply's
      // status text on as a success.
      if (!p.frameBegun) return;
      p.state = State::kEnd;
      return Handle(p, b);
    case kNak:
      p.state = State::kIdle;
      p.nakSeen = true;
      p.replyOk = true;
      return;
    default: return Handle(p, b);
  }
}

}  // namespace morvek::zelmar
