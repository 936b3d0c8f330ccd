// Fuzz target: arbitrary bytes as one reply block the register sends during a block transfer,
// cut into its fields, and its payload (or, when the block does not hold together, the bytes
// themselves) split into zero-ended Base64 texts and decoded.
//
// The cut must agree with the block's layout read here byte by byte; a payload is handed on only
// from a whole block with a matching CRC; the decoded texts never grow past three bytes for four
// characters and keep what the document held before. Anything else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "blocks/block_transfer.h"
#include "codec/base64.h"
#include "codec/crc16.h"

namespace {

using namespace morvek;

void Check(bool holds) {
  if (!holds) std::abort();
}

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
  return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0u;
}

void CheckPayloadTexts(std::string_view payload) {
  const std::string before = "kept";
  std::string text = before;
  AppendPayloadTexts(payload, text);
  Check(text.compare(0, before.size(), before) == 0);
  Check(text.size() - before.size() <= payload.size() / 4 * 3 + 2);
  // Each decoded text encodes back to the characters it came from (but for the bits a short last
  // group does not carry), so nothing of a text is lost or invented.
  std::string_view decoded = std::string_view(text).substr(before.size());
  for (std::size_t at = 0; at <= payload.size();) {
    std::size_t end = payload.find('\0', at);
    if (end == std::string_view::npos) end = payload.size();
    const std::string_view piece = payload.substr(at, end - at);
    const std::string bytes = Base64Decode(piece);
    Check(decoded.substr(0, bytes.size()) == bytes);
    decoded.remove_prefix(bytes.size());
    const std::string again = Base64Encode(bytes);
    const std::size_t whole = bytes.size() / 3 * 4;
    Check(piece.substr(0, whole) == std::string_view(again).substr(0, whole));
    at = end + 1;
  }
  Check(decoded.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ReplyBlock block = ReadReplyBlock(bytes);

  Check(block.magic == (size >= 2 && data[0] == 0x07 && data[1] == 0x07));
  Check(block.flags == Byte(bytes, 2));
  const std::uint32_t document =
      Byte(bytes, 4) | Byte(bytes, 5) << 8 | Byte(bytes, 6) << 16 | Byte(bytes, 7) << 24;
  Check(static_cast<std::uint32_t>(block.document) == document);
  const std::size_t stated = Byte(bytes, 8) | Byte(bytes, 9) << 8;
  const bool whole = size == kReplyHeaderSize + stated + 2 && stated <= kMaxReplyPayload;
  if (block.crcOk) {
    Check(whole);
    Check(block.payload.data() == bytes.data() + kReplyHeaderSize);
    Check(block.payload.size() == stated);
    Check(Crc16Modbus(block.payload) == (Byte(bytes, size - 2) | Byte(bytes, size - 1) << 8));
    Check(size <= 1460);
    CheckPayloadTexts(block.payload);
  } else {
    Check(block.payload.empty());
    if (whole) {
      const std::string_view payload = bytes.substr(kReplyHeaderSize, stated);
      Check(Crc16Modbus(payload) != (Byte(bytes, size - 2) | Byte(bytes, size - 1) << 8));
    }
    CheckPayloadTexts(bytes);
  }
  return 0;
}
