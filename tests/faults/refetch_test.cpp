// A document the register sent that is not well-formed XML: it alone is lost, not the request.
#include <gtest/gtest.h>

#include "app/sim_window.h"

namespace morvek::test {
namespace {

// The sample journal with receipt 1520 broken: a bare '&' in its text is no well-formed XML.
std::string JournalWithBrokenReceipt() {
  std::string text = ReadFile(kSampleJournal);
  const std::size_t at = text.find("NO=\"1520\"");
  text.insert(text.find('>', at) + 1, "&");
  return text;
}

class UnparsableDocument : public ::testing::TestWithParam<Protocol> {};

// The broken document is left out and named; the others of the request still reach the model,
// and the next click asks for the broken one alone.
TEST_P(UnparsableDocument, IsLeftOutAloneNamedAndAskedAgainNextTime) {
  SimWindow w(GetParam(), GetParam() == Protocol::kZelmar ? "127.0.70.21" : "127.0.70.22", {},
              JournalWithBrokenReceipt());
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1519, 1521}));
  EXPECT_EQ(w.ui.messages,
            Lines{W("Не получено документов: 1\n1520: ошибка в структуре документа")});
  EXPECT_EQ(UndeliveredLines(w.form.outcome), Lines{"receipt 1520: lost: not well-formed XML"});
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.form.outcome.Count(Fate::kHeld), 2) << "only 1520 is asked again";
  EXPECT_EQ(w.form.outcome.Count(Fate::kLost), 1);
}

INSTANTIATE_TEST_SUITE_P(Protocols, UnparsableDocument,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

}  // namespace
}  // namespace morvek::test
