#pragma once
// The ASCII control bytes that frame Zelmar and Datecs requests and replies.
#include <cstdint>

namespace morvek::ascii {

inline constexpr std::uint8_t kSoh = 0x01;  // opens a frame
inline constexpr std::uint8_t kEtx = 0x03;  // closes it
inline constexpr std::uint8_t kEot = 0x04;  // ends a reply's data; the status bytes follow
inline constexpr std::uint8_t kEnq = 0x05;  // the checksum digits follow
inline constexpr std::uint8_t kNak = 0x15;  // the register did not take the request
inline constexpr std::uint8_t kSyn = 0x16;  // the register is still at work

}  // namespace morvek::ascii
