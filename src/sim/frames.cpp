#include "sim/frames.h"

#include <algorithm>

namespace morvek::sim {

RequestParser::Event RequestParser::Break() {
  state_ = State::kIdle;
  return Event::kBroken;
}

RequestParser::Event RequestParser::Feed(std::uint8_t b) {
  if (b == static_cast<std::uint8_t>(kSoh)) {
    // A frame cut short by a new one is dropped without a NAK: the sender has moved on.
    state_ = State::kLength;
    return Event::kNone;
  }
  switch (state_) {
    case State::kIdle: return Event::kNone;
    case State::kLength:
      if (b < 0x24) return Break();
      dataLength_ = b - 0x24u;
      sum_ = b;
      state_ = State::kSequence;
      return Event::kNone;
    case State::kSequence:
      if (b < 0x20 || b > 0x7E) return Break();
      request_.sequence = b;
      sum_ += b;
      state_ = State::kCommand;
      return Event::kNone;
    case State::kCommand:
      request_.command = b;
      request_.data.clear();
      sum_ += b;
      state_ = dataLength_ > 0 ? State::kData : State::kPostamble;
      return Event::kNone;
    case State::kData:
      request_.data += static_cast<char>(b);
      sum_ += b;
      if (request_.data.size() == dataLength_) state_ = State::kPostamble;
      return Event::kNone;
    case State::kPostamble:
      if (b != static_cast<std::uint8_t>(kEnq)) return Break();
      sum_ += b;
      digits_ = 0;
      checksum_ = 0;
      state_ = State::kChecksum;
      return Event::kNone;
    case State::kChecksum:
      if (b < 0x30 || b > 0x3F) return Break();
      checksum_ = checksum_ * 16 + (b - 0x30u);
      if (++digits_ == 4) state_ = State::kEnd;
      return Event::kNone;
    case State::kEnd:
      state_ = State::kIdle;
      if (b != static_cast<std::uint8_t>(kEtx)) return Event::kBroken;
      return checksum_ == (sum_ & 0xFFFF) ? Event::kFrame : Event::kBroken;
  }
  return Event::kNone;
}

void AppendChecksumDigits(std::string& frame, unsigned sum) {
  for (int shift = 12; shift >= 0; shift -= 4)
    frame += static_cast<char>(0x30 + ((sum >> shift) & 0x0F));
}

namespace {

unsigned SumFrom(const std::string& frame, std::size_t first) {
  unsigned sum = 0;
  for (std::size_t i = first; i < frame.size(); ++i) sum += static_cast<unsigned char>(frame[i]);
  return sum;
}

std::string Close(std::string frame, const StatusBytes& statusBytes) {
  frame += kEot;
  for (std::uint8_t s : statusBytes) frame += static_cast<char>(s);
  frame += kEnq;
  AppendChecksumDigits(frame, SumFrom(frame, 1));
  frame += kEtx;
  return frame;
}

}  // namespace

std::string BuildZelmarReply(std::uint8_t sequence, std::uint8_t command, std::string_view status,
                             std::string_view data, const StatusBytes& statusBytes) {
  std::string frame;
  frame += kSoh;
  frame += static_cast<char>(0x30 + std::min(data.size(), kZelmarMaxReplyData));
  frame += static_cast<char>(sequence);
  frame += static_cast<char>(command);
  frame += status;
  frame += ';';
  frame += data;
  return Close(std::move(frame), statusBytes);
}

std::string BuildDatecsReply(std::uint8_t sequence, std::uint8_t command, std::string_view data,
                             const StatusBytes& statusBytes) {
  std::string frame;
  frame += kSoh;
  frame += static_cast<char>(0x2B + std::min(data.size(), kDatecsMaxReplyData));
  frame += static_cast<char>(sequence);
  frame += static_cast<char>(command);
  frame += data;
  return Close(std::move(frame), statusBytes);
}

std::string WithLengthOneShort(std::string frame) {
  frame[1] = static_cast<char>(frame[1] - 1);
  frame.resize(frame.size() - 5);  // the digits and ETX
  AppendChecksumDigits(frame, SumFrom(frame, 1));
  frame += kEtx;
  return frame;
}

std::string BuildRequestFrame(std::uint8_t sequence, std::uint8_t command, std::string_view data) {
  std::string frame;
  frame += kSoh;
  frame += static_cast<char>(0x24 + data.size());
  frame += static_cast<char>(sequence);
  frame += static_cast<char>(command);
  frame += data;
  frame += kEnq;
  AppendChecksumDigits(frame, SumFrom(frame, 1));
  frame += kEtx;
  return frame;
}

}  // namespace morvek::sim
