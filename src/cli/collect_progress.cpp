#include "cli/collect_progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "collect/collect_summary.h"

namespace morvek {

namespace {

// Redraws of one register's line at most this often; its start and end always.
constexpr std::chrono::milliseconds kRedrawEvery{100};

// The text cut to `columns` characters, so that it never wraps and moves the lines below it.
std::string CutTo(const std::string& utf8, std::size_t columns) {
  std::size_t shown = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && ++shown > columns)
      return utf8.substr(0, i);
  }
  return utf8;
}

}  // namespace

CollectProgress::CollectProgress(std::vector<std::string> names, bool live, std::size_t columns)
    : names_(std::move(names)), live_(live), columns_(columns), drawn_(names_.size()) {
  if (!live_) return;
  for (const std::string& name : names_) std::cerr << CutTo(name + ": waiting", columns_) << '\n';
  std::cerr << std::flush;
}

CollectProgress::Terminal CollectProgress::StandardError(std::size_t registers) {
  Terminal terminal;
  winsize size{};
  if (!isatty(STDERR_FILENO) || ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return terminal;
  // A line for each register and one for the cursor, or the lines scroll off and cannot be
  // reached again.
  terminal.live = size.ws_row > registers && size.ws_col > 10;
  terminal.columns = size.ws_col > 1 ? size.ws_col - 1u : 80;
  return terminal;
}

void CollectProgress::Started(std::size_t index) {
  const std::lock_guard lock(mutex_);
  if (live_)
    Draw(index, names_[index] + ": started");
  else
    std::cerr << "morvek-cli: collect: " << names_[index] << ": started\n" << std::flush;
}

void CollectProgress::Progressed(std::size_t index, const RegisterProgress& progress) {
  if (!live_) return;
  const std::lock_guard lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  if (now - drawn_[index] < kRedrawEvery) return;
  drawn_[index] = now;
  Draw(index, ProgressLine(names_[index], progress));
}

void CollectProgress::Finished(std::size_t index, const RegisterReport& report) {
  const std::lock_guard lock(mutex_);
  if (live_)
    Draw(index, FinishedLine(report));
  else
    std::cerr << "morvek-cli: collect: " << FinishedLine(report) << '\n' << std::flush;
}

void CollectProgress::Draw(std::size_t index, const std::string& line) {
  const std::size_t up = names_.size() - index;
  std::cerr << "\033[" << up << "A\r\033[K" << CutTo(line, columns_) << "\033[" << up << "B\r"
            << std::flush;
}

}  // namespace morvek
