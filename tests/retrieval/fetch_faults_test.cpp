// The request by number against a simulated register that misbehaves at one request: the second,
// which asks for the second fragment of the first document. Every request ends, no document that
// came whole is lost, and one that an error cut short is left out and asked again next time.
#include <gtest/gtest.h>

#include <ostream>

#include "retrieval/sim_window.h"
#include "sim/faults.h"

namespace morvek::test {
namespace {

using sim::DocumentKind;
using sim::Protocol;

struct FaultCase {
  Protocol protocol;
  const char* fault;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << (c.protocol == Protocol::kZelmar ? "Zelmar " : "Datecs ") << c.fault;
}
std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
  std::string name = info.param.protocol == Protocol::kZelmar ? "Zelmar_" : "Datecs_";
  for (const char* c = info.param.fault; *c != '\0' && *c != '@'; ++c) name += *c;
  return name;
}

SimSetup Peer(const FaultCase& c) {
  SimSetup setup;
  setup.protocol = c.protocol;
  setup.address = c.protocol == Protocol::kZelmar ? "127.0.20.12" : "127.0.20.13";
  setup.faults = {*sim::ParseFault(c.fault)};
  return setup;
}

// Receipts the list shows, read from their footers ("  000001519 ...").
std::vector<int> ShownReceipts(const SimWindow& w) {
  std::vector<int> shown;
  for (const std::string& line : w.form.ListBox2.lines)
    if (line.size() > 11 && line.compare(0, 4, "  00") == 0)
      shown.push_back(std::stoi(line.substr(2, 9)));
  return shown;
}

class FaultGotOver : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultGotOver, EveryDocumentComesWhole) {
  SimWindow w(Peer(GetParam()));
  ASSERT_GT(w.journal->Text(*w.journal->Find(DocumentKind::kReceipt, 1519)).size(), 150u)
      << "the first document must take more than one fragment";
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1521));
  EXPECT_EQ(ShownReceipts(w), (std::vector<int>{1519, 1520, 1521}));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultGotOver,
    ::testing::Values(
        FaultCase{Protocol::kZelmar, "syn@2"}, FaultCase{Protocol::kZelmar, "nak@2"},
        FaultCase{Protocol::kZelmar, "checksum@2"}, FaultCase{Protocol::kZelmar, "split@2"},
        FaultCase{Protocol::kZelmar, "drip@2"}, FaultCase{Protocol::kZelmar, "silent@2"},
        FaultCase{Protocol::kZelmar, "seq@2"}, FaultCase{Protocol::kZelmar, "command@2"},
        FaultCase{Protocol::kDatecs, "syn@2"}, FaultCase{Protocol::kDatecs, "checksum@2"},
        FaultCase{Protocol::kDatecs, "split@2"}, FaultCase{Protocol::kDatecs, "drip@2"}),
    CaseName);

class FaultCutsShort : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultCutsShort, DocumentIsLeftOutAndAskedAgainNextTime) {
  SimWindow w(Peer(GetParam()));
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1520, 1521));
  EXPECT_EQ(ShownReceipts(w), (std::vector<int>{1520, 1521}));

  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1519));
  EXPECT_EQ(ShownReceipts(w), (std::vector<int>{1519, 1520, 1521}));
}

// Datecs "close": the register hangs up instead of answering; the driver connects again and
// delivers nothing for that request. Read again, the previous reply would add the first fragment
// a second time.
INSTANTIATE_TEST_SUITE_P(Faults, FaultCutsShort,
                         ::testing::Values(FaultCase{Protocol::kZelmar, "status@2=0CD0"},
                                           FaultCase{Protocol::kDatecs, "status@2"},
                                           FaultCase{Protocol::kDatecs, "nak@2"},
                                           FaultCase{Protocol::kDatecs, "silent@2"},
                                           FaultCase{Protocol::kDatecs, "close@2"}),
                         CaseName);

}  // namespace
}  // namespace morvek::test
