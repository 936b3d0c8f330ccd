#pragma once
// One register of a fleet brought up to date: connect, read what the archive holds of it, fetch
// the receipts it does not hold and the Z-reports after the last it holds, and store them batch by
// batch as they arrive.
#include <functional>

#include "archive/archive.h"
#include "collect/collect_options.h"
#include "collect/fleet.h"
#include "collect/register_report.h"

namespace morvek {

// Never raises: whatever fails is the report's outcome and reason.
RegisterReport CollectRegister(const FleetRegister& fleetRegister, const CollectOptions& options,
                               Archive& archive,
                               const std::function<void(const RegisterProgress&)>& progress);

}  // namespace morvek
