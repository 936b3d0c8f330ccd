#include "cli/output.h"

#include <cstdio>

#include "codec/cp1251.h"

namespace morvek {

bool PrintLines(const std::vector<std::string>& lines, bool utf8) {
  std::string text;
  for (const auto& line : lines) {
    text += utf8 ? Cp1251ToUtf8(line) : line;
    text += '\n';
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written;
}

}  // namespace morvek
