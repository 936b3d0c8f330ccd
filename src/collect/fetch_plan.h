#pragma once
// What a collector asks a register for, worked out from what the archive holds: receipt numbers in
// batches that leave out what is held, and Z-reports in steps that end at the first one missing.
#include <optional>
#include <set>
#include <vector>

#include "session/outcome.h"

namespace morvek {

struct FetchRange {
  int first = 0, last = 0;
  bool operator==(const FetchRange&) const = default;
};

// The receipt numbers to go through: those the register named for the interval asked (none when
// it named none), widened down to the lowest receipt number held, so that a receipt an earlier run
// lost between two it stored is asked for again. Nothing when there is nothing to go through.
std::optional<FetchRange> ReceiptSpan(std::optional<FetchRange> named,
                                      const std::set<long long>& held);

// The span in batches of at most `size` numbers (size >= 1), in ascending order, that together
// hold every number not held. A batch begins and ends with a number not held; a span of held
// numbers alone gives none.
std::vector<FetchRange> Batches(FetchRange span, const std::set<long long>& held, int size);

// The `size` numbers from `first` on, without passing the largest number a register takes.
FetchRange Step(long long first, int size);

// The first number of a fetch that did not arrive (the register has no such document, or it was
// lost); nothing when every number arrived or was held.
std::optional<int> FirstMissing(const RequestOutcome& outcome);

}  // namespace morvek
