#pragma once
// The remote-access server's go-ahead after a register announcement: "Ready", which it may send in
// pieces.
#include <string_view>

namespace morvek {

inline constexpr std::string_view kReady = "Ready";

// True while the bytes so far may still become "Ready": a reader then reads on.
constexpr bool StartsReady(std::string_view bytes) {
  return !bytes.empty() && bytes.size() < kReady.size() && kReady.starts_with(bytes);
}

// The go-ahead, read as text up to its first zero byte.
constexpr bool IsReady(std::string_view answer) {
  return answer.substr(0, answer.find('\0')) == kReady;
}

}  // namespace morvek
