// A collection killed midway keeps what it stored, and the next run stores the rest and nothing
// twice. Against a simulated register on 127.0.3.40.
#include <gtest/gtest.h>

#include <thread>

#include "archive/archive.h"
#include "collect_test_support.h"

namespace morvek::test {
namespace {

#ifdef MORVEK_SIM

TEST(CollectKilled, ASecondRunAfterAKillMidwayStoresTheRestAndNothingTwice) {
  constexpr int kReceipts = 2000, kDays = 2;
  const std::string host = "127.0.3.40", fiscalNumber = "4000000400";
  TempDir dir;
  SimProcess sim(
      host,
      {"--protocol", "datecs", "--generate", std::to_string(kReceipts), "--days",
       std::to_string(kDays), "--fiscal-number", fiscalNumber, "--start-date", DaysAgo(kDays + 2)},
      dir.path());
  WriteFile(dir.File("fleet.ini"),
            "[Каса]\nhost=" + host + "\nprotocol=datecs\nfiscal-number=" + fiscalNumber + "\n");
  const std::vector<std::string> args = {"collect",  "--fleet", "fleet.ini", "--archive",
                                         "a.sqlite", "--jobs",  "1"};

  std::size_t heldWhenKilled = 0;
  {
    ChildProcess run(MORVEK_CLI, args, dir.path(), dir.File("run.out"), dir.File("run.err"));
    // The archive is opened from here once the collector has created it and begun.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (run.Err().find(": started") == std::string::npos && run.Running() &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(run.Running()) << run.Err();
    const auto archive = OpenArchive(dir.File("a.sqlite"));
    while (run.Running() && std::chrono::steady_clock::now() < deadline) {
      heldWhenKilled = archive->Held(fiscalNumber, "").receiptNumbers.size();
      if (heldWhenKilled > 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(run.Running()) << "the run ended before it could be killed midway: " << run.Err();
    run.Kill();
    heldWhenKilled = archive->Held(fiscalNumber, "").receiptNumbers.size();
  }
  ASSERT_GT(heldWhenKilled, 0u);
  ASSERT_LT(heldWhenKilled, static_cast<std::size_t>(kReceipts)) << "killed too late";

  const CollectRun again = RunCollect(dir, {"--fleet", "fleet.ini", "--archive", "a.sqlite"});
  ASSERT_EQ(again.exitCode, 0) << again.out << again.err;
  const SummaryRow row = again.Row("Каса");
  EXPECT_EQ(static_cast<std::size_t>(row.newReceipts), kReceipts - heldWhenKilled);
  EXPECT_EQ(row.newZReports, kDays);
  const auto archive = OpenArchive(dir.File("a.sqlite"));
  const Holdings held = archive->Held(fiscalNumber, "");
  EXPECT_EQ(held.receiptNumbers.size(), static_cast<std::size_t>(kReceipts));
  EXPECT_EQ(*held.receiptNumbers.begin(), 1);
  EXPECT_EQ(*held.receiptNumbers.rbegin(), kReceipts);
  EXPECT_EQ(held.lastZNumber, kDays);
  EXPECT_EQ(archive->Find(OfRegister(fiscalNumber)).size(),
            static_cast<std::size_t>(kReceipts + kDays))
      << "a document stored twice";
}

#endif

}  // namespace
}  // namespace morvek::test
