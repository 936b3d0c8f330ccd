#include "codec/checksum_digits.h"

namespace morvek {

std::string ChecksumDigits(std::uint32_t sum) {
  std::string digits(4, '0');
  for (int i = 0; i < 4; ++i)
    digits[static_cast<std::size_t>(i)] = static_cast<char>(0x30 + ((sum >> (12 - 4 * i)) & 0x0F));
  return digits;
}

}  // namespace morvek
