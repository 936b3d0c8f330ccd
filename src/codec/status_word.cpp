#include "codec/status_word.h"

namespace morvek {

namespace {

// Where each status-word bit comes from: the bit of a status byte that sets it.
struct StatusBit {
  std::uint8_t byte, bitOfByte, flag;
};
constexpr StatusBit kStatusBits[] = {
    {0, 0, 0},  {0, 1, 1},  {0, 2, 2},  {0, 4, 3},  {0, 5, 27},              // S0
    {1, 0, 4},  {1, 1, 5},  {1, 2, 6},  {1, 3, 7},  {1, 4, 8},  {1, 5, 12},  // S1
    {2, 0, 9},  {2, 3, 10}, {2, 5, 11},                                      // S2
    {4, 0, 16}, {4, 2, 13}, {4, 3, 20}, {4, 4, 17}, {4, 5, 28},              // S4
    {5, 0, 18}, {5, 1, 21}, {5, 2, 19}, {5, 3, 22}, {5, 4, 23}, {5, 5, 14},  // S5
};

}  // namespace

std::uint32_t StatusWordFlags(const std::array<std::uint8_t, 6>& statusBytes) {
  std::uint32_t flags = 0;
  for (const StatusBit& s : kStatusBits)
    if (statusBytes[s.byte] & (1u << s.bitOfByte)) flags |= 1u << s.flag;
  return flags;
}

}  // namespace morvek
