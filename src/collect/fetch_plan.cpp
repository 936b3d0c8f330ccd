#include "collect/fetch_plan.h"

#include <algorithm>
#include <climits>

namespace morvek {

std::optional<FetchRange> ReceiptSpan(std::optional<FetchRange> named,
                                      const std::set<long long>& held) {
  if (held.empty() || *held.begin() < 1 || *held.begin() > INT_MAX) return named;
  const int lowest = static_cast<int>(*held.begin());
  if (!named) {
    const int highest = static_cast<int>(std::min<long long>(*held.rbegin(), INT_MAX));
    return FetchRange{lowest, highest};
  }
  return FetchRange{std::min(named->first, lowest), named->last};
}

std::vector<FetchRange> Batches(FetchRange span, const std::set<long long>& held, int size) {
  std::vector<FetchRange> batches;
  const auto isHeld = [&held](long long n) { return held.count(n) != 0; };
  // In 64 bits, so that nothing overflows at the end of the int range.
  long long next = std::max(span.first, 1);
  while (next <= span.last) {
    while (next <= span.last && isHeld(next)) ++next;
    if (next > span.last) break;
    long long last = std::min<long long>(next + size - 1, span.last);
    while (isHeld(last)) --last;  // stops at next, which is not held
    batches.push_back({static_cast<int>(next), static_cast<int>(last)});
    next = last + 1;
  }
  return batches;
}

FetchRange Step(long long first, int size) {
  const long long last = std::min<long long>(first + size - 1, INT_MAX);
  return {static_cast<int>(std::min<long long>(first, INT_MAX)), static_cast<int>(last)};
}

std::optional<int> FirstMissing(const RequestOutcome& outcome) {
  for (const OutcomeRun& run : outcome.Runs())
    if (run.fate == Fate::kAbsent || run.fate == Fate::kLost) return run.first;
  return std::nullopt;
}

}  // namespace morvek
