#pragma once
// The tests' own reading of the register's replies: independent of the register's builders, so a
// misreading on either side fails a test.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvek::sim::test {

inline std::string Hex(std::initializer_list<unsigned> bytes) {
  std::string text;
  for (unsigned b : bytes) text += static_cast<char>(b);
  return text;
}

struct ReadReply {
  bool ok = false;  // framing and checksum right
  std::uint8_t sequence = 0, command = 0;
  std::string status;  // Zelmar only
  std::string data;
  std::string statusBytes;
};

// Reads one whole reply frame; zelmar chooses the layout.
inline ReadReply ReadReplyFrame(std::string_view frame, bool zelmar) {
  ReadReply reply;
  if (frame.size() < 17 || frame[0] != 0x01 || frame.back() != 0x03) return reply;
  const auto len = static_cast<unsigned char>(frame[1]);
  reply.sequence = static_cast<std::uint8_t>(frame[2]);
  reply.command = static_cast<std::uint8_t>(frame[3]);
  std::size_t at = 4;
  std::size_t dataLength = 0;
  if (zelmar) {
    const std::size_t semicolon = frame.find(';', at);
    if (semicolon == std::string_view::npos) return reply;
    reply.status = std::string(frame.substr(at, semicolon - at));
    at = semicolon + 1;
    dataLength = len - 0x30u;
  } else {
    dataLength = len - 0x2Bu;
  }
  reply.data = std::string(frame.substr(at, dataLength));
  at += dataLength;
  if (at + 13 != frame.size() || frame[at] != 0x04 || frame[at + 7] != 0x05) return reply;
  reply.statusBytes = std::string(frame.substr(at + 1, 6));
  unsigned sum = 0;
  for (std::size_t i = 1; i <= at + 7; ++i) sum += static_cast<unsigned char>(frame[i]);
  unsigned digits = 0;
  for (std::size_t i = at + 8; i < at + 12; ++i)
    digits = digits * 16 + (static_cast<unsigned char>(frame[i]) - 0x30u);
  reply.ok = digits == (sum & 0xFFFF);
  return reply;
}

inline std::vector<std::string> SplitText(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (;;) {
    const std::size_t next = text.find(separator, at);
    parts.push_back(text.substr(at, next - at));
    if (next == std::string::npos) return parts;
    at = next + 1;
  }
}

}  // namespace morvek::sim::test
