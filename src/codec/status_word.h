#pragma once
// The status word of a reply, the same for Zelmar and Datecs registers: the bits of the six status
// bytes S0..S5 the register sends, and three bits the drivers set themselves.
#include <array>
#include <cstdint>

namespace morvek {

// The drivers' own bits. They exclude each other and the register's bits: a reply that did not
// come whole, or was answered with a NAK, or whose digits do not match its sum, carries no status
// bytes worth reading.
inline constexpr std::uint32_t kStatusChecksumError = 1u << 24;
inline constexpr std::uint32_t kStatusNak = 1u << 25;
inline constexpr std::uint32_t kStatusNoReply = 1u << 26;

// The status-word bits of S0..S5. A bit the table (status_word.cpp) does not name sets nothing,
// nor does any bit of S3.
std::uint32_t StatusWordFlags(const std::array<std::uint8_t, 6>& statusBytes);

}  // namespace morvek
