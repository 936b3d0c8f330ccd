#pragma once
// Every register of a fleet brought up to date at once: worker threads take registers from a
// queue, each with its own session and its own connection to the archive, so that a register that
// cannot be reached or fails holds up no other. Registers behind one server address are read one
// after another, as the server may take one connection at a time.
#include <vector>

#include "collect/collect_options.h"
#include "collect/fleet.h"
#include "collect/register_report.h"

namespace morvek {

// A report for each register, in fleet order. The archive should have been opened once before, so
// that it is created or migrated before the workers open it side by side. A worker that cannot
// open the archive fails each register it takes, naming why.
std::vector<RegisterReport> CollectFleet(const std::vector<FleetRegister>& fleet,
                                         const CollectOptions& options, CollectObserver& observer);

}  // namespace morvek
