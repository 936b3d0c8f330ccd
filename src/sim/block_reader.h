#pragma once
// The register's reading of request blocks: magic (2), command (1), length (2), payload, CRC (2).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "codec/crc16.h"

namespace morvek::sim {

class BlockReader {
 public:
  enum class Event { kNone, kBlock, kNoBlock };
  // Takes one byte. kBlock when a whole block has arrived; kNoBlock when a lone 07h turned out to
  // be no block: the byte given is then not taken and belongs to the frames.
  Event Feed(char b) {
    if (bytes_.size() == 1 && b != 0x07) {
      bytes_.clear();
      return Event::kNoBlock;
    }
    bytes_ += b;
    if (bytes_.size() < 5) return Event::kNone;
    return bytes_.size() == 7 + Length() ? Event::kBlock : Event::kNone;
  }
  bool Active() const { return !bytes_.empty(); }
  std::uint8_t Command() const { return static_cast<std::uint8_t>(bytes_[2]); }
  std::string_view Payload() const { return std::string_view(bytes_).substr(5, Length()); }
  bool CrcOk() const {
    const auto low = static_cast<unsigned char>(bytes_[bytes_.size() - 2]);
    const auto high = static_cast<unsigned char>(bytes_[bytes_.size() - 1]);
    return Crc16Modbus(Payload()) == (high << 8 | low);
  }
  std::string Take() { return std::exchange(bytes_, {}); }

 private:
  std::size_t Length() const {
    return static_cast<unsigned char>(bytes_[3]) | static_cast<unsigned char>(bytes_[4]) << 8;
  }
  std::string bytes_;
};

}  // namespace morvek::sim
