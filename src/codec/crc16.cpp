#include "codec/crc16.h"

namespace morvek {

std::uint16_t Crc16Modbus(std::string_view bytes) {
  std::uint16_t crc = 0xFFFF;
  for (char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                      : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

}  // namespace morvek
