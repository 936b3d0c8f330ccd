#pragma once
// How a collector runs: where the archive is, how many registers at once, from when on, and the
// sizes of its requests.
#include <ctime>
#include <string>

#include "link/timings.h"

namespace morvek {

struct CollectOptions {
  std::string archive;  // the archive's location, as OpenArchive takes it
  int jobs = 8;         // registers read at once
  // Receipts from then on ("YYYY-MM-DD HH:MM:SS"); when not given, from the newest held receipt
  // on where that is later.
  std::string since;
  bool sinceGiven = false;
  std::tm now{};  // the end of the request by date
  // Receipt numbers per fetch: what a fetch delivered is stored before the next begins, so that a
  // run that is killed keeps it.
  int batch = 250;
  // Z-reports asked for one by one per fetch: each after the last is asked for in vain.
  int zStep = 10;
  RegisterTimings timings;
};

}  // namespace morvek
