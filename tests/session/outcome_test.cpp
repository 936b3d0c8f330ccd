// What became of the documents of a request, and how it is told to the operator.
#include "session/outcome.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace morvek {
namespace {

using Lines = std::vector<std::string>;

TEST(RequestOutcome, NeighboursOfOneOutcomeFormOneRunAndTheRestOneLineEach) {
  RequestOutcome outcome;
  outcome.Ask(1, 10, 20);
  outcome.Add(10, 11, Fate::kDelivered);
  outcome.Add(12, Fate::kAbsent, Reason::kRefused, "0C07");
  outcome.Add(13, Fate::kAbsent, Reason::kRefused, "0C07");
  outcome.Add(14, Fate::kAbsent, Reason::kRefused, "0CD0");
  outcome.Add(15, Fate::kLost, Reason::kNoReply);
  outcome.Add(16, 20, Fate::kLost, Reason::kConnectionLost);
  EXPECT_EQ(outcome.Runs().size(), 5u);
  EXPECT_EQ(UndeliveredLines(outcome),
            (Lines{"receipts 12 to 13: absent at the register: the register answered with an "
                   "error (status 0C07)",
                   "receipt 14: absent at the register: the register answered with an error "
                   "(status 0CD0)",
                   "receipt 15: lost: no reply", "receipts 16 to 20: lost: connection lost"}));
  EXPECT_EQ(outcome.Count(Fate::kLost), 6);
  EXPECT_FALSE(outcome.NothingReached());
  outcome.Ask(1, 16, 20);
  outcome.Add(16, 20, Fate::kLost, Reason::kConnectionLost);
  EXPECT_TRUE(outcome.NothingReached()) << "every document went with the connection";
}

TEST(RequestOutcome, AFailedRequestLosesWhatItDeliveredAndWhatItHadNotComeTo) {
  RequestOutcome outcome;
  outcome.Ask(0, 1, 6);
  outcome.Add(1, Fate::kHeld);
  outcome.Add(2, Fate::kDelivered);
  outcome.Add(3, Fate::kAbsent, Reason::kNoFragment);
  outcome.Abort(Reason::kRequestFailed);
  EXPECT_EQ(UndeliveredLines(outcome), (Lines{"Z-report 2: lost: the request failed",
                                              "Z-report 3: absent at the register: no data",
                                              "Z-reports 4 to 6: lost: the request failed"}));
  EXPECT_EQ(outcome.Count(Fate::kHeld), 1);
}

TEST(LostDocumentsMessage, NamesTwentyNumbersThenCountsTheRest) {
  RequestOutcome outcome;
  outcome.Ask(1, 1, 30);
  outcome.Add(1, 4, Fate::kDelivered);
  outcome.Add(5, Fate::kLost, Reason::kChecksum);
  outcome.Add(6, Fate::kLost, Reason::kRefused, "0CD0");
  outcome.Add(7, 30, Fate::kLost, Reason::kNoReply);
  std::string expected =
      "Не получено документов: 26\n5: ошибка контрольной суммы\n"
      "6: РРО вернул ошибку (0CD0)";
  for (int n = 7; n <= 24; ++n) expected += "\n" + std::to_string(n) + ": нет ответа";
  EXPECT_EQ(test::U(LostDocumentsMessage(outcome)), expected + "\nи ещё 6");
}

}  // namespace
}  // namespace morvek
