#pragma once
// The progress of a fleet collection on standard error: on a terminal one live line per register,
// redrawn in place; elsewhere a plain line as each register starts and as it ends.
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "collect/register_report.h"

namespace morvek {

class CollectProgress : public CollectObserver {
 public:
  // live: redraw lines in place (standard error is a terminal of `rows` lines and `columns`
  // characters with room for every register).
  CollectProgress(std::vector<std::string> names, bool live, std::size_t columns);

  void Started(std::size_t index) override;
  void Progressed(std::size_t index, const RegisterProgress& progress) override;
  void Finished(std::size_t index, const RegisterReport& report) override;

  // Whether standard error can show a live line for each of `registers`, and how wide.
  struct Terminal {
    bool live = false;
    std::size_t columns = 80;
  };
  static Terminal StandardError(std::size_t registers);

 private:
  // Line i redrawn where it stands; the cursor stays below the last line.
  void Draw(std::size_t index, const std::string& line);

  std::mutex mutex_;
  std::vector<std::string> names_;
  bool live_;
  std::size_t columns_;
  std::vector<std::chrono::steady_clock::time_point> drawn_;
};

}  // namespace morvek
