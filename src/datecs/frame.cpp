#include "datecs/frame.h"

#include "datecs/ret_data.h"

namespace morvek::datecs {

std::string ChecksumDigits(std::uint32_t sum) {
  std::string digits(4, '0');
  for (int i = 0; i < 4; ++i)
    digits[static_cast<std::size_t>(i)] = static_cast<char>(0x30 + ((sum >> (12 - 4 * i)) & 0x0F));
  return digits;
}

std::string BuildRequest(std::uint8_t& sequenceCounter, std::uint8_t command,
                         std::string_view text) {
  ++sequenceCounter;
  const std::string_view data = text.substr(0, kMaxRequestData);
  std::string frame;
  frame.reserve(data.size() + 10);
  frame += static_cast<char>(SOH);
  frame += static_cast<char>(0x20 + data.size() + 4);
  frame += static_cast<char>(0x20 + sequenceCounter % 95);
  frame += static_cast<char>(command);
  frame += data;
  frame += static_cast<char>(ENQ);
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<std::uint8_t>(frame[i]);
  frame += ChecksumDigits(sum);
  frame += static_cast<char>(ETX);
  return frame;
}

void ReplyParser::ResetParser() {
  replyOk = false;
  nakSeen = false;
  frameBegun = false;
  checksumRead = false;
  synCount = 0;
  data.clear();
  statusRaw.fill(0);
  sum = 0;
  checksumValue = 0;
}

namespace {

using State = ParserState;

// One handler per state: takes the byte, returns the next state.
using Handler = State (*)(ReplyParser&, std::uint8_t);

State Idle(ReplyParser& p, std::uint8_t b) {
  p.sum = 0;
  p.checksumRead = false;
  if (b != SOH) return State::Idle;
  p.frameBegun = true;
  return State::Length;
}

State Length(ReplyParser& p, std::uint8_t b) {
  if (b < 0x2B) return State::Idle;
  p.dataLength = static_cast<std::uint8_t>(b - 0x2B);
  p.sum += b;
  return State::Sequence;
}

State Sequence(ReplyParser& p, std::uint8_t b) {
  if (b < 0x20) return State::Idle;
  p.replySequence = static_cast<std::uint8_t>(b - 0x20);
  p.sum += b;
  return State::Command;
}

State Command(ReplyParser& p, std::uint8_t b) {
  p.replyCommand = b;
  p.sum += b;
  p.data.clear();
  p.counter = 0;
  return p.dataLength > 0 ? State::Data : State::Separator;
}

State Data(ReplyParser& p, std::uint8_t b) {
  if (p.data.size() < p.dataLength) {
    p.data += static_cast<char>(b);
    p.sum += b;
  }
  return p.data.size() < p.dataLength ? State::Data : State::Separator;
}

State Separator(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
  p.counter = 0;
  return b == EOT ? State::StatusBytes : State::Idle;
}

State StatusBytes(ReplyParser& p, std::uint8_t b) {
  if (p.counter < p.statusRaw.size()) {
    p.statusRaw[p.counter++] = b;
    p.sum += b;
  }
  return p.counter < p.statusRaw.size() ? State::StatusBytes : State::Postamble;
}

State Postamble(ReplyParser& p, std::uint8_t b) {
  p.sum += b;
  p.counter = 0;
  p.checksumValue = 0;
  return b == ENQ ? State::Checksum : State::Idle;
}

State Checksum(ReplyParser& p, std::uint8_t b) {
  if (p.counter < 4) {
    // A byte that is no digit still counts as byte - 30h (modulo 2^32); the comparison fails.
    p.checksumValue = p.checksumValue * 16 + (static_cast<std::uint32_t>(b) - 0x30u);
    p.checksumRead = ++p.counter == 4;
  }
  return p.counter < 4 ? State::Checksum : State::End;
}

State End(ReplyParser& p, std::uint8_t b) {
  p.frameComplete = true;
  if (b == ETX) p.replyOk = true;
  return State::Idle;
}

//   state            expects   action                                       next
constexpr Handler kStates[] = {
    Idle,         //  SOH     sum = 0                                      1 on SOH, else 0
    Length,       //  >= 2Bh  dataLength = b - 2Bh; add                    2, or 0 below 2Bh
    Sequence,     //  >= 20h  replySequence = b - 20h; add                 3, or 0 below 20h
    Command,      //  any     replyCommand = b; add; data emptied          4 with data, else 5
    Data,         //  any     store b and add until dataLength stored      5 when all stored
    Separator,    //  EOT     add                                          6 on EOT, else 0
    StatusBytes,  //  any     store in statusRaw, add                      7 after the sixth
    Postamble,    //  ENQ     add; checksumValue = 0                       8 on ENQ, else 0
    Checksum,     //  digits  checksumValue = checksumValue * 16 + b - 30h 9 after the fourth
    End,          //  ETX     frameComplete; replyOk on ETX                0
};

}  // namespace

void ReplyParser::Feed(std::uint8_t b) {
  if (b == SYN) {
    ++synCount;
  } else if (rawReply.size() < kRawReplyBytes) {
    rawReply += static_cast<char>(b);
  }
  if (b < 0x20) {
    if (b == SOH) {
      state = State::Idle;
    } else if (b == ETX) {
      // Before any SOH there is no frame to end.
      if (!frameBegun) return;
      state = State::End;
    } else if (b == NAK) {
      state = State::Idle;
      nakSeen = true;
      replyOk = true;
      return;
    }
  }
  state = kStates[static_cast<std::size_t>(state)](*this, b);
}

}  // namespace morvek::datecs
