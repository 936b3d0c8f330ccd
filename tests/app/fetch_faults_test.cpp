// The request by number against a simulated register that misbehaves at its second request, the
// second fragment of the first document. Every request ends; no document that came whole is lost;
// one that an error cut short is left out and asked again next time.
#include <gtest/gtest.h>

#include <ostream>

#include "app/sim_window.h"

namespace morvek::test {
namespace {

struct FaultCase {
  Protocol protocol;
  const char* fault;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << (c.protocol == Protocol::kZelmar ? "Zelmar " : "Datecs ") << c.fault;
}
std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
  std::string name = info.param.protocol == Protocol::kZelmar ? "Zelmar_" : "Datecs_";
  for (const char* c = info.param.fault; *c != '@'; ++c) name += *c;
  return name;
}

class Fault : public ::testing::TestWithParam<FaultCase> {
 protected:
  SimWindow w{GetParam().protocol,
              GetParam().protocol == Protocol::kZelmar ? "127.0.20.13" : "127.0.20.14",
              {GetParam().fault}};
};

using FaultGotOver = Fault;
TEST_P(FaultGotOver, EveryDocumentComesWhole) {
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1521));
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1519, 1520, 1521}));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultGotOver,
    ::testing::Values(
        FaultCase{Protocol::kZelmar, "syn@2"}, FaultCase{Protocol::kZelmar, "nak@2"},
        FaultCase{Protocol::kZelmar, "split@2"}, FaultCase{Protocol::kZelmar, "drip@2"},
        FaultCase{Protocol::kZelmar, "silent@2"}, FaultCase{Protocol::kZelmar, "seq@2"},
        FaultCase{Protocol::kZelmar, "command@2"}, FaultCase{Protocol::kZelmar, "checksum@2"},
        FaultCase{Protocol::kDatecs, "syn@2"}, FaultCase{Protocol::kDatecs, "split@2"},
        FaultCase{Protocol::kDatecs, "drip@2"}, FaultCase{Protocol::kDatecs, "checksum@2"}),
    CaseName);

using FaultCutsShort = Fault;
TEST_P(FaultCutsShort, DocumentIsLeftOutNamedAndAskedAgainNextTime) {
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1520, 1521));
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1520, 1521}));
  const Lines named = UndeliveredLines(w.form.outcome);
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named[0].rfind("receipt 1519: lost: ", 0), 0u) << named[0];
  EXPECT_EQ(U(w.ui.messages.back()).rfind("Не получено документов: 1\n1519: ", 0), 0u);
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1519));
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1519, 1520, 1521}));
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

// A fragment whose reply fails its checksum is asked again, four tries in all; only when every try
// fails is its document left out, and then it is named.
class ChecksumRetries : public ::testing::TestWithParam<Protocol> {};

TEST_P(ChecksumRetries, AFragmentIsTriedFourTimesBeforeItsDocumentIsLost) {
  const bool zelmar = GetParam() == Protocol::kZelmar;
  int clean = 0;  // requests for 1519 without a fault
  for (const int failures : {0, 3, 4}) {
    std::vector<std::string> faults;
    for (int request = 2; request < 2 + failures; ++request)
      faults.push_back("checksum@" + std::to_string(request));
    SimWindow w(GetParam(), zelmar ? "127.0.20.40" : "127.0.20.41", faults);
    w.FetchByNumber(kTypeReceipt, 1519, 1519);
    const bool whole = failures < 4;
    EXPECT_EQ(w.ShownReceipts(), whole ? std::vector<int>{1519} : std::vector<int>{});
    Lines expected(zelmar ? 0 : failures, W("Ошибка протокола"));
    if (!whole) expected.push_back(W("Не получено документов: 1\n1519: ошибка контрольной суммы"));
    EXPECT_EQ(w.ui.messages, expected) << failures;
    if (failures == 0) clean = w.RequestsReceived();
    // Each failed try costs one request; four end the document after its first fragment.
    EXPECT_EQ(w.RequestsReceived(), whole ? clean + failures : 1 + failures) << failures;
  }
}

INSTANTIATE_TEST_SUITE_P(Protocols, ChecksumRetries,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

}  // namespace
}  // namespace morvek::test
