// What a request that failed leaves for the next one: documents of an assembled document that
// does not parse never reached the model, so the next click asks for them again.
#include <gtest/gtest.h>

#include "retrieval/sim_window.h"

namespace morvek::test {
namespace {

// The sample journal with receipt 1520 broken: a bare '&' in its text is no well-formed XML.
std::string JournalWithBrokenReceipt() {
  std::string text = ReadFile(kSampleJournal);
  const std::size_t at = text.find("NO=\"1520\"");
  text.insert(text.find('>', at) + 1, "&");
  return text;
}

class UnparsableAssembly : public ::testing::TestWithParam<Protocol> {};

TEST_P(UnparsableAssembly, EveryDocumentOfTheRequestIsAskedAgainNextTime) {
  SimWindow w(GetParam(), GetParam() == Protocol::kZelmar ? "127.0.70.21" : "127.0.70.22", {},
              JournalWithBrokenReceipt());
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  ASSERT_EQ(w.form.ListBox2.lines, (Lines{kFailure1, kFailure2}));
  const int asked = w.RequestsReceived();
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.RequestsReceived(), 2 * asked) << "the same requests once more";
  w.FetchByNumber(kTypeReceipt, 1519, 1519);
  EXPECT_EQ(w.ShownReceipts(), std::vector<int>{1519}) << "a good document alone comes whole";
}

INSTANTIATE_TEST_SUITE_P(Protocols, UnparsableAssembly,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

}  // namespace
}  // namespace morvek::test
