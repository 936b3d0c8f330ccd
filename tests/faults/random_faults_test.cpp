// Faults at random for long runs: repeatable from the seed, of the kinds given only, at about the
// rate asked.
#include <gtest/gtest.h>

#include "sim/faults.h"

namespace morvek::sim {
namespace {

TEST(RandomFaults, TheSameSeedDrawsTheSameFaultsAndAnotherSeedOthers) {
  RandomFaults random{0.1, 42, {FaultKind::kSynBurst, FaultKind::kSplit, FaultKind::kNak}};
  RandomFaults other = random;
  other.seed = 43;
  int same = 0, differ = 0;
  for (int request = 1; request <= 2000; ++request) {
    const auto a = RandomFaultAt(random, request), b = RandomFaultAt(random, request);
    ASSERT_EQ(a.has_value(), b.has_value());
    if (a) {
      EXPECT_EQ(a->kind, b->kind);
      EXPECT_EQ(a->request, request);
    }
    (a.has_value() == RandomFaultAt(other, request).has_value() ? same : differ) += 1;
  }
  EXPECT_GT(differ, 0);
}

TEST(RandomFaults, OnlyTheKindsGivenAtAboutTheRate) {
  const RandomFaults random{0.05, 7, {FaultKind::kSplit, FaultKind::kWrongSequence}};
  int drawn = 0, splits = 0;
  for (int request = 1; request <= 20000; ++request)
    if (const auto fault = RandomFaultAt(random, request)) {
      ++drawn;
      splits += fault->kind == FaultKind::kSplit;
      EXPECT_TRUE(fault->kind == FaultKind::kSplit || fault->kind == FaultKind::kWrongSequence);
    }
  EXPECT_GT(drawn, 600);  // 1000 expected
  EXPECT_LT(drawn, 1400);
  EXPECT_GT(splits, drawn / 4) << "both kinds are drawn";
  EXPECT_LT(splits, drawn * 3 / 4);
}

TEST(RandomFaults, RateZeroOrNoKindsDrawsNothing) {
  for (int request = 1; request <= 1000; ++request) {
    EXPECT_FALSE(RandomFaultAt({0.0, 1, {FaultKind::kNak}}, request));
    EXPECT_FALSE(RandomFaultAt({1.0, 1, {}}, request));
  }
  EXPECT_TRUE(RandomFaultAt({1.0, 1, {FaultKind::kNak}}, 5));
}

TEST(RandomFaults, KindListsAreParsedByTheFaultNames) {
  EXPECT_EQ(ParseFaultKinds("syn,split,nak"),
            (std::vector<FaultKind>{FaultKind::kSynBurst, FaultKind::kSplit, FaultKind::kNak}));
  EXPECT_FALSE(ParseFaultKinds("syn,,nak"));
  EXPECT_FALSE(ParseFaultKinds("syn,bogus"));
  EXPECT_FALSE(ParseFaultKinds(""));
}

}  // namespace
}  // namespace morvek::sim
