// The pacing of a slow line: how many bytes go at a time, and when they have crossed it.
#include "sim/line.h"

#include <gtest/gtest.h>

namespace morvek::sim {
namespace {

using namespace std::chrono_literals;

TEST(LinePacer, ChunksAreAboutTenMillisecondsOfTheLine) {
  struct Case {
    int kbit;
    std::size_t left, chunk;
  };
  for (const Case c : {Case{0, 5000, 5000},     // not paced: everything at once
                       Case{8, 5000, 10},       // 1000 bytes a second
                       Case{8, 3, 3},           // the rest is shorter than a chunk
                       Case{1000, 5000, 1250},  // 125 000 bytes a second
                       Case{1, 5000, 1}}) {     // 125 bytes a second: never less than a byte
    SCOPED_TRACE(c.kbit);
    EXPECT_EQ(LinePacer(c.kbit).Chunk(c.left), c.chunk);
  }
}

TEST(LinePacer, BytesQueueBehindWhatTheLineStillCarries) {
  const LinePacer::Clock::time_point t0{10s};
  LinePacer pacer(8);  // 1000 bytes a second
  struct Step {
    std::size_t bytes;
    LinePacer::Clock::duration handed, crossed;  // since t0
  };
  for (const Step s : {Step{1000, 0ms, 1000ms},      // an idle line: from the moment handed
                       Step{500, 0ms, 1500ms},       // behind the first thousand
                       Step{250, 1200ms, 1750ms},    // still behind them
                       Step{10, 5000ms, 5010ms}}) {  // idle again: from the moment handed
    SCOPED_TRACE(s.bytes);
    EXPECT_EQ(pacer.Carry(s.bytes, t0 + s.handed), t0 + s.crossed);
  }
}

}  // namespace
}  // namespace morvek::sim
