#pragma once
// The simulator's log: every exchange in hexadecimal, the register's printouts and the server's
// events, a line each, to a file or standard error. Lines from several threads do not mix.
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace morvek::sim {

class SimLog {
 public:
  // Writes to file (not owned); nullptr keeps the log quiet. Without bytes only the lines of
  // events are written, not the exchanged bytes (for long runs).
  explicit SimLog(std::FILE* file, bool bytes = true) : file_(file), bytes_(bytes) {}

  void Line(std::string_view text);
  // direction "<-" for bytes received, "->" for bytes sent.
  void Bytes(std::string_view direction, std::string_view bytes);

 private:
  std::FILE* file_;
  bool bytes_;
  std::mutex mutex_;
};

}  // namespace morvek::sim
