#pragma once
// Every wait of the Zelmar driver. The program keeps the defaults; tests shrink them.
namespace morvek {

struct ZelmarTimings {
  int streamTimeoutMs = 60000;  // the stream's write and each read
  int waitSliceMs = 200;        // one wait for the first reply byte
  int waitSlices = 60;          // waits of one series
  int waitSeries = 4;           // series after writing: at most 4 x 60 x 200 ms
  int resendPauseMs = 2000;     // before a resend
  // A peer that streams bytes (SYN, garbage) without ending a frame is given up after this long
  // in all: 50 times the stream time-out, the longest a silent register can take.
  long receiveLimitMs = 50L * 60000;
};

}  // namespace morvek
