// One register brought up to date, against a simulated register in this process (127.0.3.70): a
// receipt the register would not give in one run is asked for again in the next, though newer
// ones are held by then; the register is noted under its fleet name; documents of another fiscal
// number than the fleet file says are refused.
#include "collect/register_collector.h"

#include <gtest/gtest.h>

#include <memory>

#include "collect/collect_dates.h"
#include "collect_test_support.h"
#include "sim/sim_server.h"

namespace morvek {
namespace {

constexpr int kReceipts = 300, kDays = 2;
const std::string kFiscalNumber = "4000000700";

class RegisterCollectorTest : public ::testing::Test {
 protected:
  RegisterCollectorTest() {
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &options.now);
    options.since = FirstOfPreviousMonth(options.now);
    options.batch = 100;
    entry.name = "Каса 7";
    entry.host = "127.0.3.70";
    entry.fiscalNumber = kFiscalNumber;
  }

  // A Datecs register by number, committing the faults given; the fleet entry points at it.
  void StartRegister(const std::vector<std::string>& faults) {
    JournalOptions journal{.receipts = kReceipts, .zReports = kDays, .seed = 7};
    journal.fiscalNumber = kFiscalNumber;
    const auto day = ReadCalendarDay(test::DaysAgo(kDays + 2));
    journal.firstYear = day->year, journal.firstMonth = day->month, journal.firstDay = day->day;
    sim::SimOptions sim;
    sim.host = entry.host;
    sim.port = 0;  // any announcement is taken
    sim.registerConfig.protocol = sim::Protocol::kDatecs;
    for (const std::string& fault : faults)
      sim.registerConfig.faults.push_back(*sim::ParseFault(fault));
    server_.reset();
    server_ = std::make_unique<sim::SimServer>(
        sim,
        std::make_shared<const sim::Journal>(sim::Journal::FromText(GenerateJournal(journal).xml)),
        log_);
    entry.port = server_->Start();
  }

  RegisterReport Collect() { return CollectRegister(entry, options, *archive, {}); }

  test::TempDir dir;
  std::unique_ptr<Archive> archive = OpenArchive(dir.File("a.sqlite"));
  CollectOptions options;
  FleetRegister entry;

 private:
  sim::SimLog log_{nullptr};
  std::unique_ptr<sim::SimServer> server_;
};

TEST_F(RegisterCollectorTest, AReceiptMissedOnceIsAskedForAgainAfterNewerOnesAreHeld) {
  // A request midway through the receipts is answered with the register's error status.
  StartRegister({"status@600"});
  const RegisterReport first = Collect();
  EXPECT_TRUE(first.connected);
  EXPECT_EQ(first.newReceipts, kReceipts - 1);
  EXPECT_EQ(first.newZReports, kDays);
  const Holdings held = archive->Held(kFiscalNumber, "");
  ASSERT_EQ(held.receiptNumbers.size(), static_cast<std::size_t>(kReceipts - 1));
  EXPECT_EQ(*held.receiptNumbers.rbegin(), kReceipts) << "the newest receipt is held";

  StartRegister({});
  const RegisterReport second = Collect();
  EXPECT_EQ(second.outcome, RegisterOutcome::kComplete) << second.reason;
  EXPECT_EQ(second.newReceipts, 1);
  EXPECT_EQ(second.newZReports, 0);
  EXPECT_EQ(second.notDelivered, 0);
  EXPECT_EQ(archive->Held(kFiscalNumber, "").receiptNumbers.size(),
            static_cast<std::size_t>(kReceipts));

  const auto noted = archive->FindRegister("Каса 7");
  ASSERT_TRUE(noted);
  EXPECT_EQ(noted->fiscalNumber, kFiscalNumber);
  EXPECT_EQ(noted->protocol, "datecs");
  EXPECT_EQ(noted->address, "127.0.3.70:" + std::to_string(entry.port));
  EXPECT_FALSE(noted->serialNumber.empty()) << "from the documents' ZN";
}

TEST_F(RegisterCollectorTest, DocumentsOfAnotherFiscalNumberThanTheFleetSaysAreNotStored) {
  StartRegister({});
  entry.fiscalNumber = "4000000999";
  const RegisterReport report = Collect();
  EXPECT_EQ(report.outcome, RegisterOutcome::kFailed);
  EXPECT_EQ(report.reason,
            "its documents carry fiscal number 4000000700, not 4000000999 as the fleet says");
  EXPECT_EQ(report.newReceipts, 0);
  EXPECT_TRUE(archive->Registers().empty()) << "nothing under either number";
}

}  // namespace
}  // namespace morvek
