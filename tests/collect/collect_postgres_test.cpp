// Two collectors on two machines filling one central PostgreSQL archive at once, against simulated
// registers on loopback (127.0.5.10 to 127.0.5.12 and 127.0.5.20 to 127.0.5.22). Two registers
// are in both fleets, each reached by either collector through a server of its own that serves
// the same journal: every document of every register ends in the archive once, stored by one of
// the two.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "archive/archive.h"
#include "archive/postgres_test_schema.h"
#include "collect_test_support.h"

namespace morvek::test {
namespace {

#ifdef MORVEK_SIM

constexpr int kReceipts = 300;
constexpr int kDays = 2;  // a Z-report closes each

struct Member {
  std::string name, protocol;
  std::uint64_t seed = 0;
  std::string fiscalNumber() const { return std::to_string(4000000200LL + seed); }
};

const Member kShared1{"Каса 1", "datecs", 1}, kShared2{"Каса 2", "zelmar", 2},
    kOnlyA{"Каса 3", "datecs", 3}, kOnlyB{"Склад 4", "zelmar", 4};

// A machine: its collector's folder, its fleet file and the servers it reaches.
struct Machine {
  TempDir dir;
  std::vector<std::unique_ptr<SimProcess>> sims;

  Machine(const std::vector<std::pair<Member, std::string>>& fleet) {
    std::string text;
    for (const auto& [m, host] : fleet) {
      sims.push_back(std::make_unique<SimProcess>(
          host,
          std::vector<std::string>{"--protocol", m.protocol, "--generate",
                                   std::to_string(kReceipts), "--days", std::to_string(kDays),
                                   "--seed", std::to_string(m.seed), "--start-date",
                                   DaysAgo(kDays + 2), "--fiscal-number", m.fiscalNumber()},
          dir.path()));
      text += "[" + m.name + "]\r\nhost=" + host + "\r\nprotocol=" + m.protocol +
              "\r\nfiscal-number=" + m.fiscalNumber() + "\r\n\r\n";
    }
    WriteFile(dir.File("fleet.ini"), text);
  }
};

using CollectPostgres = PostgresTest;

TEST_F(CollectPostgres, TwoCollectorsAtOnceStoreEveryDocumentOfTheirFleetsOnce) {
  Machine a({{kShared1, "127.0.5.10"}, {kShared2, "127.0.5.11"}, {kOnlyA, "127.0.5.12"}});
  Machine b({{kShared1, "127.0.5.20"}, {kShared2, "127.0.5.21"}, {kOnlyB, "127.0.5.22"}});
  const std::vector<std::string> args{"collect",    "--fleet", "fleet.ini", "--archive",
                                      connection(), "--jobs",  "3"};
  ChildProcess runA(MORVEK_CLI, args, a.dir.path(), a.dir.File("out"), a.dir.File("err"));
  ChildProcess runB(MORVEK_CLI, args, b.dir.path(), b.dir.File("out"), b.dir.File("err"));
  CollectRun first, second;
  first.exitCode = runA.Wait(std::chrono::seconds(300));
  second.exitCode = runB.Wait(std::chrono::seconds(300));
  first.out = runA.Out();
  second.out = runB.Out();
  ASSERT_EQ(first.exitCode, 0) << first.out << runA.Err();
  ASSERT_EQ(second.exitCode, 0) << second.out << runB.Err();

  const auto archive = OpenArchive(connection());
  for (const Member& m : {kShared1, kShared2, kOnlyA, kOnlyB}) {
    const std::vector<FoundDocument> documents = archive->Find(OfRegister(m.name));
    std::set<long long> dis;
    for (const FoundDocument& d : documents) dis.insert(d.di);
    EXPECT_EQ(documents.size(), static_cast<std::size_t>(kReceipts + kDays)) << m.name;
    EXPECT_EQ(dis.size(), documents.size()) << m.name << ": a document held twice";
    // Each stored by one collector: what the other fetched too it found held.
    const SummaryRow inA = first.Row(m.name), inB = second.Row(m.name);
    const long long receipts = std::max(inA.newReceipts, 0LL) + std::max(inB.newReceipts, 0LL);
    const long long zReports = std::max(inA.newZReports, 0LL) + std::max(inB.newZReports, 0LL);
    EXPECT_EQ(receipts, kReceipts) << m.name << "\n" << first.out << second.out;
    EXPECT_EQ(zReports, kDays) << m.name;
    ASSERT_TRUE(archive->FindRegister(m.fiscalNumber())) << m.name;
    EXPECT_EQ(archive->FindRegister(m.fiscalNumber())->name, m.name);
  }
}

#endif

}  // namespace
}  // namespace morvek::test
