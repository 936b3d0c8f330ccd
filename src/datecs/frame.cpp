#include "datecs/frame.h"

#include "codec/checksum_digits.h"
#include "datecs/ret_data.h"

namespace morvek::datecs {

std::string BuildRequest(std::uint8_t& sequenceCounter, std::uint8_t command,
                         std::string_view text) {
  ++sequenceCounter;
  const std::string_view data = text.substr(0, kMaxRequestData);
  std::string frame;
  frame.reserve(data.size() + 10);
  frame += static_cast<char>(ascii::kSoh);
  frame += static_cast<char>(0x20 + data.size() + 4);
  frame += static_cast<char>(0x20 + sequenceCounter % 95);
  frame += static_cast<char>(command);
  frame += data;
  frame += static_cast<char>(ascii::kEnq);
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<std::uint8_t>(frame[i]);
  frame += ChecksumDigits(sum);
  frame += static_cast<char>(ascii::kEtx);
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
  parser.sum = 0;
  parser.checksumValue = 0;
}

namespace {

using State = ReplyState;

// One handler per state: takes the byte, returns the next state.
using Handler = State (*)(ReplyParser&, std::uint8_t);

State Idle(ReplyParser& p, std::uint8_t b) {
  p.sum = 0;
  p.checksumRead = false;
  if (b != ascii::kSoh) return State::kIdle;
  p.frameBegun = true;
  return State::kLength;
}

State Length(ReplyParser& p, std::uint8_t b) {
  if (b < 0x2B) return State::kIdle;
  p.dataLength = static_cast<std::uint8_t>(b - 0x2B);
  p.sum += b;
  return State::kSequence;
}

State Sequence(ReplyParser& p, std::uint8_t b) {
  if (b < 0x20) return State::kIdle;
  p.replySequence = static_cast<std::uint8_t>(b - 0x20);
  p.sum += b;
  return State::kCommand;
}

State Command(ReplyParser& p, std::uint8_t b) {
  p.replyCommand = b;
  p.sum += b;
  p.data.clear();
  p.counter = 0;
  return p.dataLength > 0 ? State::kData : State::kEndOfData;
}

State Data(ReplyParser& p, std::uint8_t b) {
  if (p.data.size() < p.dataLength) {
    p.data += static_cast<char>(b);
    p.sum += b;
  }
  return p.data.size() < p.dataLength ? State::kData : State::kEndOfData;
}

State EndOfData(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
  p.counter = 0;
  return b == ascii::kEot ? State::kStatusBytes : State::kIdle;
}

State StatusBytes(ReplyParser& p, std::uint8_t b) {
  if (p.counter < p.statusRaw.size()) {
    p.statusRaw[p.counter++] = b;
    p.sum += b;
  }
  return p.counter < p.statusRaw.size() ? State::kStatusBytes : State::kPostamble;
}

State Postamble(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
  p.counter = 0;
  p.checksumValue = 0;
  return b == ascii::kEnq ? State::kChecksum : State::kIdle;
}

State Checksum(ReplyParser& p, std::uint8_t b) {
  if (p.counter < 4) {
    // A byte that is no digit still counts as byte - 30h (modulo 2^32); the comparison fails.
    p.checksumValue = p.checksumValue * 16 + (static_cast<std::uint32_t>(b) - 0x30u);
    p.checksumRead = ++p.counter == 4;
  }
  return p.counter < 4 ? State::kChecksum : State::kEnd;
}

State End(ReplyParser& p, std::uint8_t b) {
  p.frameComplete = true;
  if (b == ascii::kEtx) p.replyOk = true;
  return State::kIdle;
}

// Indexed by ReplyState.
//   state            expects   action                                       next
constexpr Handler kHandlers[] = {
    Idle,         //  SOH     sum = 0                                      1 on SOH, else 0
    Length,       //  >= 2Bh  dataLength = b - 2Bh; add                    2, or 0 below 2Bh
    Sequence,     //  >= 20h  replySequence = b - 20h; add                 3, or 0 below 20h
    Command,      //  any     replyCommand = b; add; data emptied          4 with data, else 5
    Data,         //  any     store b and add until dataLength stored      5 when all stored
    EndOfData,    //  EOT     add                                          6 on EOT, else 0
    StatusBytes,  //  any     store in statusRaw, add                      7 after the sixth
    Postamble,    //  ENQ     add; checksumValue = 0                       8 on ENQ, else 0
    Checksum,     //  digits  checksumValue = checksumValue * 16 + b - 30h 9 after the fourth
    End,          //  ETX     frameComplete; replyOk on ETX                0
};
static_assert(std::size(kHandlers) == static_cast<std::size_t>(State::kEnd) + 1);

}  // namespace

void FeedByte(ReplyParser& p, std::uint8_t b) {
  if (b == ascii::kSyn) {
    ++p.synCount;
  } else if (p.rawReply.size() < kRawReplyBytes) {
    p.rawReply += static_cast<char>(b);
  }
  if (b < 0x20) {
    if (b == ascii::kSoh) {
      p.state = State::kIdle;
    } else if (b == ascii::kEtx) {
      // Before any SOH there is no frame to end.
      if (!p.frameBegun) return;
      p.state = State::kEnd;
    } else if (b == ascii::kNak) {
      p.state = State::kIdle;
      p.nakSeen = true;
      p.replyOk = true;
      return;
    }
  }
  p.state = kHandlers[static_cast<std::size_t>(p.state)](p, b);
}

}  // namespace morvek::datecs
