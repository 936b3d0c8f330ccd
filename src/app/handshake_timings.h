#pragma once
// The waits of the server handshake. The program keeps the defaults; tests shrink them.
namespace morvek {

struct HandshakeTimings {
  int streamTimeoutMs = 60000;  // the stream's write and read
  int cycles = 4;               // cycles of the go-ahead wait
  int ticks = 60;               // waits of one cycle
  int tickMs = 2000;            // one wait for the go-ahead
};

}  // namespace morvek
