// The road of a fleet collection, against real simulated registers on loopback (127.0.3.10 to
// 127.0.3.29): twenty registers of both protocols, by blocks and by number, announced by fiscal
// number and by ID_DEV, one of which goes away midway. The first run stores every document of the
// others once and names the one that failed; the second brings it up to date and stores nothing
// twice.
#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <memory>
#include <set>

#include "archive/archive.h"
#include "collect_test_support.h"
#include "sim/journal_generator.h"

namespace morvek::test {
namespace {

#ifdef MORVEK_SIM

constexpr int kRegisters = 20;
constexpr int kReceipts = 2000;
constexpr int kDays = 3;  // a Z-report closes each
constexpr int kGone = 6;  // the register whose server goes away midway
constexpr const char* kGoneAt = "gone@3000";

struct Member {
  std::string name, host, protocol;
  bool blocks = false, byIdDev = false;
  std::uint64_t seed = 0;
  std::string fiscalNumber;  // as its journal carries it
};

std::vector<Member> Fleet() {
  std::vector<Member> fleet;
  for (int i = 0; i < kRegisters; ++i) {
    Member m;
    m.name = (i % 5 == 4 ? "Склад " : "Каса ") + std::to_string(i + 1);
    m.host = "127.0.3." + std::to_string(10 + i);
    m.protocol = i % 3 == 2 ? "zelmar" : "datecs";
    m.blocks = i % 4 == 0;
    m.byIdDev = i % 5 == 4;
    m.seed = 100 + static_cast<std::uint64_t>(i);
    // A register announced by ID_DEV carries the number its journal was made with.
    m.fiscalNumber = m.byIdDev ? JournalFiscalNumber(m.seed, kReceipts, kDays)
                               : std::to_string(4000000100LL + i);
    fleet.push_back(m);
  }
  return fleet;
}

std::vector<std::string> SimOptions(const Member& m, bool withFault) {
  std::vector<std::string> options = {"--protocol",   m.protocol,
                                      "--generate",   std::to_string(kReceipts),
                                      "--days",       std::to_string(kDays),
                                      "--seed",       std::to_string(m.seed),
                                      "--start-date", DaysAgo(kDays + 2)};
  if (m.byIdDev)
    options.insert(options.end(), {"--id-dev", IdDev(m.seed)});
  else
    options.insert(options.end(), {"--fiscal-number", m.fiscalNumber});
  if (m.blocks) options.push_back("--block");
  if (withFault) options.insert(options.end(), {"--fault", kGoneAt});
  return options;
}

std::string FleetFile(const std::vector<Member>& fleet) {
  std::string text;
  for (const Member& m : fleet) {
    text += "[" + m.name + "]\r\nhost=" + m.host + "\r\nprotocol=" + m.protocol + "\r\n";
    text += m.byIdDev ? "id-dev=" + IdDev(m.seed) : "fiscal-number=" + m.fiscalNumber;
    text += "\r\n\r\n";
  }
  return text;
}

TEST(CollectRoad, AFleetIsCollectedOnceAndTheRegisterThatFailedIsBroughtUpToDateNextRun) {
  TempDir dir;
  const std::vector<Member> fleet = Fleet();
  std::vector<std::unique_ptr<SimProcess>> sims;
  for (int i = 0; i < kRegisters; ++i)
    sims.push_back(
        std::make_unique<SimProcess>(fleet[i].host, SimOptions(fleet[i], i == kGone), dir.path()));
  WriteFile(dir.File("fleet.ini"), FleetFile(fleet));
  const int total = kReceipts + kDays;

  const CollectRun first = RunCollect(dir, {"--fleet", "fleet.ini", "--archive", "a.sqlite"});
  ASSERT_EQ(first.exitCode, 3) << first.out << first.err;
  std::map<std::string, std::size_t> held;
  {
    const auto archive = OpenArchive(dir.File("a.sqlite"));
    for (int i = 0; i < kRegisters; ++i) {
      const std::vector<FoundDocument> documents = archive->Find(OfRegister(fleet[i].name));
      std::set<long long> dis;
      for (const FoundDocument& document : documents) dis.insert(document.di);
      EXPECT_EQ(dis.size(), documents.size()) << fleet[i].name << ": a document held twice";
      held[fleet[i].name] = documents.size();
      if (i == kGone) continue;
      EXPECT_EQ(documents.size(), static_cast<std::size_t>(total)) << fleet[i].name;
      const SummaryRow row = first.Row(fleet[i].name);
      EXPECT_EQ(row.newReceipts, kReceipts) << fleet[i].name;
      EXPECT_EQ(row.newZReports, kDays) << fleet[i].name;
      EXPECT_EQ(row.outcome, "complete") << fleet[i].name;
      ASSERT_TRUE(archive->FindRegister(fleet[i].name)) << fleet[i].name;
      EXPECT_EQ(archive->FindRegister(fleet[i].name)->fiscalNumber, fleet[i].fiscalNumber);
    }
  }
  const std::string gone = fleet[kGone].name;
  EXPECT_EQ(first.Row(gone).outcome.rfind("failed: ", 0), 0u) << first.Row(gone).outcome;
  EXPECT_GT(held[gone], 0u) << "what came before it went away is kept";
  EXPECT_LT(held[gone], static_cast<std::size_t>(total));
  EXPECT_EQ(static_cast<std::size_t>(first.Row(gone).newReceipts), held[gone]);

  // The server is back: the next run fetches the rest of it and nothing of the others.
  sims[kGone] =
      std::make_unique<SimProcess>(fleet[kGone].host, SimOptions(fleet[kGone], false), dir.path());
  const CollectRun second = RunCollect(dir, {"--fleet", "fleet.ini", "--archive", "a.sqlite"});
  ASSERT_EQ(second.exitCode, 0) << second.out << second.err;
  const auto archive = OpenArchive(dir.File("a.sqlite"));
  for (int i = 0; i < kRegisters; ++i) {
    const SummaryRow row = second.Row(fleet[i].name);
    EXPECT_EQ(row.outcome, "complete") << fleet[i].name;
    EXPECT_EQ(archive->Find(OfRegister(fleet[i].name)).size(), static_cast<std::size_t>(total))
        << fleet[i].name;
    const long long stored = row.newReceipts + row.newZReports;
    if (i == kGone) {
      EXPECT_EQ(static_cast<std::size_t>(stored) + held[gone], static_cast<std::size_t>(total));
    } else {
      EXPECT_EQ(stored, 0) << fleet[i].name << " stored again";
    }
  }
}

#endif

}  // namespace
}  // namespace morvek::test
