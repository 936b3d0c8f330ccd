#pragma once
// Block transfer: the request and reply blocks of registers with recent firmware, exchanged on the
// main connection without the framing of either register protocol.
namespace morvek {

struct BlockTimings {
  int streamTimeoutMs = 60000;  // the stream's write and read
  int waitMs = 60000;           // each wait for a reply block or the rest of one
};

}  // namespace morvek
