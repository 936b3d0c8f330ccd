#include "sim/sim_log.h"

namespace morvek::sim {

void SimLog::Line(std::string_view text) {
  if (file_ == nullptr) return;
  std::lock_guard lock(mutex_);
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

void SimLog::Bytes(std::string_view direction, std::string_view bytes) {
  if (file_ == nullptr || !bytes_) return;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line(direction);
  line.reserve(direction.size() + bytes.size() * 3);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    line += ' ';
    line += kHex[b >> 4];
    line += kHex[b & 15];
  }
  Line(line);
}

}  // namespace morvek::sim
