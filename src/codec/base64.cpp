#include "codec/base64.h"

#include <array>

namespace morvek {

namespace {

// The value of each character; kOutside for one outside the alphabet.
constexpr unsigned char kOutside = 0xFF;

constexpr std::array<unsigned char, 256> MakeValues() {
  std::array<unsigned char, 256> values{};
  values.fill(kOutside);
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i)
    values[static_cast<unsigned char>(alphabet[i])] = static_cast<unsigned char>(i);
  return values;
}

constexpr auto kValues = MakeValues();

}  // namespace

std::string Base64Decode(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3 + 2);
  unsigned bits = 0;
  int held = 0;  // characters of the current group
  for (char c : text) {
    const unsigned v = kValues[static_cast<unsigned char>(c)];
    if (v == kOutside) break;
    bits = (bits << 6) | v;
    if (++held == 4) {
      bytes += static_cast<char>(bits >> 16);
      bytes += static_cast<char>(bits >> 8);
      bytes += static_cast<char>(bits);
      bits = 0;
      held = 0;
    }
  }
  // k characters left over give k - 1 bytes.
  if (held == 2) bytes += static_cast<char>(bits >> 4);
  if (held == 3) {
    bytes += static_cast<char>(bits >> 10);
    bytes += static_cast<char>(bits >> 2);
  }
  return bytes;
}

std::string Base64Encode(std::string_view bytes) {
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  auto byte = [&](std::size_t k) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[k]));
  };
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned bits = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
    text += alphabet[bits >> 18 & 63];
    text += alphabet[bits >> 12 & 63];
    text += alphabet[bits >> 6 & 63];
    text += alphabet[bits & 63];
  }
  const std::size_t left = bytes.size() - i;
  if (left > 0) {
    const unsigned bits = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0u);
    text += alphabet[bits >> 18 & 63];
    text += alphabet[bits >> 12 & 63];
    text += left == 2 ? alphabet[bits >> 6 & 63] : '=';
    text += '=';
  }
  return text;
}

}  // namespace morvek
