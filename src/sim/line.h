#pragma once
// The line between the remote-access server and the tool, as slow as a real one: a round trip
// spent before each answer the server sends, and its bytes paced at the line's bandwidth. Both
// off by default, for the tests and the benchmarks on loopback.
#include <chrono>
#include <cstddef>

namespace morvek::sim {

struct LineOptions {
  std::chrono::milliseconds latency{0};  // before each reply, block and "Ready"
  int bandwidthKbit = 0;                 // 0: as fast as the socket takes the bytes
};

// When the bytes of a paced line have crossed it: each chunk is sent once the line would have
// carried it whole, so that the last byte arrives no earlier than the bandwidth allows. The times
// are absolute, so that the rounding of one wait is not carried into the next.
class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LinePacer(int bandwidthKbit) : bandwidthKbit_(bandwidthKbit) {}

  bool Paced() const { return bandwidthKbit_ > 0; }
  // Bytes of the next chunk of `left`: about 10 ms of the line, at least one byte; all of them
  // on a line that is not paced.
  std::size_t Chunk(std::size_t left) const;
  // The time count bytes handed to the line at `now` have crossed it, behind what it still
  // carries.
  Clock::time_point Carry(std::size_t count, Clock::time_point now);

 private:
  int bandwidthKbit_;
  Clock::time_point free_{};  // when the line has carried everything handed to it so far
};

}  // namespace morvek::sim
