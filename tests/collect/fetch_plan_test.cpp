// What a collector asks for: receipt batches that leave out what the archive holds and come back
// for what an earlier run lost, and Z-reports that end at the first one missing.
#include "collect/fetch_plan.h"

#include <gtest/gtest.h>

#include <climits>

namespace morvek {
namespace {

std::set<long long> Range(long long first, long long last) {
  std::set<long long> numbers;
  for (long long n = first; n <= last; ++n) numbers.insert(n);
  return numbers;
}

TEST(ReceiptSpan, ReachesDownToTheLowestHeldSoThatHolesAreAskedAgain) {
  const std::set<long long> held = {5, 6, 8, 10};
  EXPECT_EQ(ReceiptSpan(FetchRange{10, 40}, held), (FetchRange{5, 40}));
  EXPECT_EQ(ReceiptSpan(FetchRange{3, 40}, held), (FetchRange{3, 40}));
  // The register named none: what lies between the held ones is still gone through.
  EXPECT_EQ(ReceiptSpan(std::nullopt, held), (FetchRange{5, 10}));
  EXPECT_EQ(ReceiptSpan(FetchRange{1, 7}, {}), (FetchRange{1, 7}));
  EXPECT_EQ(ReceiptSpan(std::nullopt, {}), std::nullopt);
}

TEST(Batches, CoverEveryNumberNotHeldAndBeginAndEndWithOne) {
  struct Case {
    FetchRange span;
    std::set<long long> held;
    int size;
    std::vector<FetchRange> expected;
  };
  const std::vector<Case> cases = {
      {{1, 10}, {}, 4, {{1, 4}, {5, 8}, {9, 10}}},
      {{1, 10}, {1, 2, 3}, 4, {{4, 7}, {8, 10}}},
      {{1, 10}, {4, 8, 9, 10}, 4, {{1, 3}, {5, 7}}},
      {{1, 10}, Range(1, 10), 4, {}},
      {{5, 5}, {}, 250, {{5, 5}}},
      {{0, 3}, {}, 250, {{1, 3}}},  // a register numbers from 1
      {{7, 3}, {}, 250, {}},
      {{INT_MAX - 2, INT_MAX}, {}, 2, {{INT_MAX - 2, INT_MAX - 1}, {INT_MAX, INT_MAX}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Batches(c.span, c.held, c.size), c.expected)
        << c.span.first << ".." << c.span.last << " by " << c.size;
  }
}

TEST(Batches, AHundredThousandNumbersMostlyHeldMakeFewBatches) {
  std::set<long long> held = Range(1, 100000);
  held.erase(500);
  held.erase(99999);
  EXPECT_EQ(Batches({1, 100000}, held, 250), (std::vector<FetchRange>{{500, 500}, {99999, 99999}}));
}

TEST(Step, StopsAtTheLargestNumber) {
  EXPECT_EQ(Step(1, 10), (FetchRange{1, 10}));
  EXPECT_EQ(Step(INT_MAX - 3, 10), (FetchRange{INT_MAX - 3, INT_MAX}));
}

TEST(FirstMissing, IsTheFirstNumberAbsentOrLost) {
  RequestOutcome outcome;
  outcome.Begin();
  outcome.Ask(0, 4, 13);
  outcome.Add(4, 6, Fate::kDelivered);
  EXPECT_EQ(FirstMissing(outcome), std::nullopt);
  outcome.Add(7, Fate::kLost, Reason::kNoReply);
  outcome.Add(8, Fate::kDelivered);
  outcome.Add(9, 13, Fate::kAbsent, Reason::kNoFragment);
  EXPECT_EQ(FirstMissing(outcome), 7);

  RequestOutcome held;
  held.Begin();
  held.Ask(1, 1, 5);
  held.Add(1, 2, Fate::kHeld);
  held.Add(3, 5, Fate::kAbsent, Reason::kNotInTransfer);
  EXPECT_EQ(FirstMissing(held), 3);
}

}  // namespace
}  // namespace morvek
