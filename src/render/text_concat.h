#pragma once
// Joining a view to a view or a string, as the layouts build their lines.
#include <string>
#include <string_view>

namespace morvek {

inline std::string operator+(std::string_view a, std::string_view b) {
  std::string s;
  s.reserve(a.size() + b.size());
  s += a;
  s += b;
  return s;
}

}  // namespace morvek
