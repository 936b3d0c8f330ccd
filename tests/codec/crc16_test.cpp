// The checksum of the transfer blocks: CRC-16/MODBUS.
#include "codec/crc16.h"

#include <gtest/gtest.h>

#include <string>

namespace morvek {
namespace {

TEST(Crc16Modbus, StandardCheckValue) {
  EXPECT_EQ(Crc16Modbus("123456789"), 0x4B37);
}

TEST(Crc16Modbus, EmptyInputGivesTheInitialValue) {
  EXPECT_EQ(Crc16Modbus(""), 0xFFFF);
}

TEST(Crc16Modbus, ReadHoldingRegisterRequestFrame) {
  // 01 03 00 00 00 01 travels with the checksum bytes 84 0A (low byte first).
  EXPECT_EQ(Crc16Modbus(std::string("\x01\x03\x00\x00\x00\x01", 6)), 0x0A84);
}

TEST(Crc16Modbus, BytesAboveSevenFAreTakenUnsigned) {
  EXPECT_EQ(Crc16Modbus(std::string("\x07\x07\xff", 3)), 0x7182);
}

}  // namespace
}  // namespace morvek
