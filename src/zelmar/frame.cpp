#include "zelmar/frame.h"

#include "codec/checksum_digits.h"

namespace morvek::zelmar {

std::string BuildRequest(std::uint8_t& counter, std::uint8_t command, std::string_view text) {
  if (text.size() > kMaxRequestData) text = text.substr(0, kMaxRequestData);
  ++counter;
  std::string frame;
  frame.reserve(text.size() + 10);
  frame += static_cast<char>(ascii::kSoh);
  frame += static_cast<char>(0x20 + text.size() + 4);
  frame += static_cast<char>(SequenceByte(counter));
  frame += static_cast<char>(command);
  frame += text;
  frame += static_cast<char>(ascii::kEnq);
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<unsigned char>(frame[i]);
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
  parser.rawReply.clear();
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
  if (b < 0x30) return State::kIdle;
  p.dataLength = static_cast<std::uint8_t>(b - 0x30);
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
  p.statusText.clear();
  p.data.clear();
  p.counter = 0;
  return State::kStatusText;
}

State StatusText(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
  if (b == kSeparator) return p.dataLength > 0 ? State::kData : State::kEndOfData;
  if (p.statusText.size() < kMaxStatusText) p.statusText += static_cast<char>(b);
  return State::kStatusText;
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
  if (p.counter < 6) {
    p.statusRaw[static_cast<std::size_t>(p.counter++)] = b;
    p.sum += b;
  }
  return p.counter < 6 ? State::kStatusBytes : State::kPostamble;
}

State Postamble(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
  p.counter = 0;
  p.checksumValue = 0;
  return b == ascii::kEnq ? State::kChecksum : State::kIdle;
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
  if (b == ascii::kEtx) p.replyOk = true;
  return State::kIdle;
}

// Indexed by ReplyState.
//   state            expects   action                                       next
constexpr Handler kHandlers[] = {
    Idle,         //  SOH     sum = 0                                      1 on SOH, else 0
    Length,       //  >= 30h  dataLength = b - 30h; add                    2, or 0 below 30h
    Sequence,     //  >= 20h  replySequence = b - 20h; add                 3, or 0 below 20h
    Command,      //  any     replyCommand = b; add; text and data emptied 4
    StatusText,   //  any     add; keep up to 19 characters before ';'     on ';' 5, 6 if no data
    Data,         //  any     store b and add until dataLength stored      6 when all stored
    EndOfData,    //  EOT     add                                          7 on EOT, else 0
    StatusBytes,  //  any     store in statusRaw, add                      8 after the sixth
    Postamble,    //  ENQ     add; checksumValue = 0                       9 on ENQ, else 0
    Checksum,     //  digits  checksumValue = checksumValue * 16 + b - 30h 10 after the fourth
    End,          //  ETX     frameComplete; replyOk on ETX                0
};
static_assert(std::size(kHandlers) == static_cast<std::size_t>(State::kEnd) + 1);

void Handle(ReplyParser& p, std::uint8_t b) {
  p.state = kHandlers[static_cast<std::size_t>(p.state)](p, b);
}

}  // namespace

void FeedByte(ReplyParser& p, std::uint8_t b) {
  if (b == ascii::kSyn) {
    ++p.synCount;
  } else if (p.rawReply.size() < kMaxRawReply) {
    p.rawReply += static_cast<char>(b);
  }
  if (b >= 0x20) return Handle(p, b);
  switch (b) {
    case ascii::kSoh: p.state = State::kIdle; return Handle(p, b);
    case ascii::kEtx:
      // An ETX ends the reply once one has begun, early or not, also after a byte that did not
      // fit threw the parser back to idle: the register has nothing more to send. Before any SOH
      // there is nothing to end: taking it as a complete reply would hand the previous reply's
      // status text on as a success.
      if (!p.frameBegun) return;
      p.state = State::kEnd;
      return Handle(p, b);
    case ascii::kNak:
      p.state = State::kIdle;
      p.nakSeen = true;
      p.replyOk = true;
      return;
    default: return Handle(p, b);
  }
}

}  // namespace morvek::zelmar
