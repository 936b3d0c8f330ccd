// Fuzz target: arbitrary bytes as a Base64 text from a reply block, decoded; and the same bytes
// as a document, encoded and decoded again.
//
// Decoding reads exactly the characters before the first one outside the alphabet, three bytes
// for each group of four and k - 1 for a last group of k; encoding what was decoded gives those
// characters back (but for the unused bits of a short last group); an encoded document decodes to
// itself. Anything else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/base64.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

bool InAlphabet(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using morvek::Base64Decode;
  using morvek::Base64Encode;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::string encoded = Base64Encode(bytes);
  Check(encoded.size() == (size + 2) / 3 * 4);
  Check(Base64Decode(encoded) == bytes);

  std::size_t read = 0;
  while (read < size && InAlphabet(bytes[read])) ++read;
  const std::string decoded = Base64Decode(bytes);
  const std::size_t left = read % 4;
  Check(decoded.size() == read / 4 * 3 + (left > 0 ? left - 1 : 0));
  const std::string again = Base64Encode(decoded);
  Check(bytes.substr(0, read / 4 * 4) == std::string_view(again).substr(0, read / 4 * 4));
  if (left >= 2) {
    // The first character of a short last group carries all its bits.
    Check(again[read / 4 * 4] == bytes[read / 4 * 4]);
  }
  Check(Base64Decode(again) == decoded);
  return 0;
}
