#pragma once
// Fixed-position reads of texts that may be short or empty: a piece that starts past the end is
// empty, one that runs past the end is cut. Positions count from 1, as the layouts name columns.
#include <string_view>

namespace morvek {

constexpr std::string_view Slice(std::string_view text, int from, int count) {
  long long first = from, n = count;  // wide enough that no position can overflow
  if (first < 1) {
    n += first - 1;
    first = 1;
  }
  if (n <= 0 || first > static_cast<long long>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(n));
}

}  // namespace morvek
