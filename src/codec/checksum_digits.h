#pragma once
#include <cstdint>
#include <string>

namespace morvek {

// The four checksum digits closing a Zelmar or Datecs frame: the 16 low bits of the sum, one
// nibble a digit, most significant first, each added to 30h (so '0' to '?').
std::string ChecksumDigits(std::uint32_t sum);

}  // namespace morvek
