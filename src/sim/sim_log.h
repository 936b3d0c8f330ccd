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
  // Writes to file (not owned); nullptr keeps the log quiet.
  explicit SimLog(std::FILE* file) : file_(file) {}

  void Line(std::string_view text);
  // direction "<-" for bytes received, "->" for bytes sent.
  void Bytes(std::string_view direction, std::string_view bytes);

 private:
  std::FILE* file_;
  std::mutex mutex_;
};

}  // namespace morvek::sim
