// What a collection tells at the end: the exit status from the registers' outcomes, and a table
// whose columns line up also with Cyrillic names.
#include "collect/collect_summary.h"

#include <gtest/gtest.h>

namespace morvek {
namespace {

RegisterReport Report(RegisterOutcome outcome, bool connected, std::string name = "R") {
  RegisterReport report;
  report.name = std::move(name);
  report.outcome = outcome;
  report.connected = connected;
  return report;
}

TEST(CollectExitStatus, FollowsTheOutcomesOfTheRegisters) {
  using O = RegisterOutcome;
  const RegisterReport complete = Report(O::kComplete, true);
  const RegisterReport incomplete = Report(O::kIncomplete, true);
  const RegisterReport brokeOff = Report(O::kFailed, true);
  const RegisterReport failedEarly = Report(O::kFailed, false);
  const RegisterReport unreachable = Report(O::kUnreachable, false);
  struct Case {
    std::vector<RegisterReport> reports;
    int status;
  };
  for (const Case& c : std::vector<Case>{
           {{complete, complete}, kCollectComplete},
           {{complete, incomplete}, kCollectPartly},
           {{complete, unreachable}, kCollectPartly},
           {{brokeOff, unreachable}, kCollectPartly},
           {{unreachable, failedEarly}, kCollectNoneRead},
           {{unreachable}, kCollectNoneRead},
       })
    EXPECT_EQ(CollectExitStatus(c.reports), c.status) << c.reports.size();
}

TEST(CollectSummary, ColumnsLineUpByCharactersShown) {
  RegisterReport first = Report(RegisterOutcome::kComplete, true, "Каса 1");
  first.newReceipts = 1990;
  first.newZReports = 3;
  first.seconds = 12.34;
  RegisterReport second = Report(RegisterOutcome::kUnreachable, false, "Store 22");
  second.reason = "cannot connect to 127.0.3.9:34950";
  second.seconds = 0.04;
  const std::vector<std::string> lines = SummaryTable({first, second});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "register  new receipts  new Z-reports  not delivered    time  outcome");
  EXPECT_EQ(lines[1], "Каса 1            1990              3              0  12.3 s  complete");
  EXPECT_EQ(lines[2],
            "Store 22             0              0              0   0.0 s  unreachable: cannot "
            "connect to 127.0.3.9:34950");
}

TEST(CollectSummary, LinesNameTheRegisterItsStageAndItsCounts) {
  RegisterProgress progress;
  progress.stage = "receipts";
  progress.done = 340;
  progress.count = 1990;
  progress.newReceipts = 300;
  progress.notDelivered = 2;
  EXPECT_EQ(ProgressLine("Каса 1", progress),
            "Каса 1: receipts 340 of 1990, 300 new receipts, 0 new Z-reports, 2 not delivered");
  progress.stage = "connecting";
  progress.count = 0;
  EXPECT_EQ(ProgressLine("K", progress),
            "K: connecting, 300 new receipts, 0 new Z-reports, 2 not delivered");
  RegisterReport failed = Report(RegisterOutcome::kFailed, true, "K");
  failed.reason = "the connection was lost and could not be made again";
  failed.newReceipts = 250;
  failed.notDelivered = 1;
  failed.seconds = 3;
  EXPECT_EQ(FinishedLine(failed),
            "K: failed: the connection was lost and could not be made again: 250 new receipts, 0 "
            "new Z-reports, 1 not delivered, 3.0 s");
}

TEST(CollectSummary, DisplayWidthCountsCharactersNotBytes) {
  EXPECT_EQ(DisplayWidth(""), 0u);
  EXPECT_EQ(DisplayWidth("abc"), 3u);
  EXPECT_EQ(DisplayWidth("Каса №1"), 7u);
  EXPECT_EQ(DisplayWidth("€"), 1u);
}

}  // namespace
}  // namespace morvek
