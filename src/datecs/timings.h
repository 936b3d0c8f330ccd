#pragma once
// Every wait and time-out of the Datecs driver. The program keeps the defaults; tests shrink them.
namespace morvek {

struct DatecsTimings {
  int streamTimeoutMs = 60000;  // the socket stream's write and read time-out
  int waitStepMs = 1000;        // one second of the countdown: one wait for data
  // A reply that keeps arriving without ending its frame is read on for at most this many stream
  // time-outs in all.
  int readOnTimeouts = 50;
};

}  // namespace morvek
