#pragma once
#include <cstdint>
#include <string_view>

namespace morvek {

// CRC-16/MODBUS: polynomial 8005h reflected (A001h), initial FFFFh, no final XOR.
std::uint16_t Crc16Modbus(std::string_view bytes);

}  // namespace morvek
