#pragma once
// Fixed-position reads of texts that may be short or empty: a piece that starts past the end is
// empty, one that runs past the end is cut. Positions count from 1, as the layouts name columns.
#include <string_view>

namespace morvek {

constexpr std::string_view Slice(std::string_view text, int from, int count) {
  if (from < 1) {
    count += from - 1;
    from = 1;
  }
  if (count <= 0 || from > static_cast<int>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count));
}

}  // namespace morvek
