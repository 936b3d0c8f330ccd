#include "sim/line.h"

#include <algorithm>

namespace morvek::sim {

namespace {

// Bytes per second of a line of kbit kilobits per second.
double BytesPerSecond(int kbit) {
  return kbit * 1000.0 / 8.0;
}

}  // namespace

std::size_t LinePacer::Chunk(std::size_t left) const {
  if (!Paced()) return left;
  const auto tenMs = static_cast<std::size_t>(BytesPerSecond(bandwidthKbit_) / 100.0);
  return std::min(left, std::max<std::size_t>(1, tenMs));
}

LinePacer::Clock::time_point LinePacer::Carry(std::size_t count, Clock::time_point now) {
  const std::chrono::duration<double> onTheLine(static_cast<double>(count) /
                                                BytesPerSecond(bandwidthKbit_));
  free_ = std::max(free_, now) + std::chrono::duration_cast<Clock::duration>(onTheLine);
  return free_;
}

}  // namespace morvek::sim
