// Printing a range on the simulated register's paper, which it notes in its log as
// "printout: documents A to B"; and one exchange at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "app/sim_window.h"
#include "codec/errors.h"

namespace morvek::test {
namespace {

class Printing : public ::testing::TestWithParam<Protocol> {
 protected:
  Printing() { w.ui.yesAnswer = true; }
  Lines Printouts() const {
    Lines ranges;
    for (const std::string& line : w.SimLogLines())
      if (line.rfind("printout: documents ", 0) == 0) ranges.push_back(line.substr(20));
    return ranges;
  }
  void Print(int type, const std::string& first, const std::string& last) {
    w.form.ComboBox1.Select(type);
    w.form.Edit1.text = first;
    w.form.Edit2.text = last;
    w.form.Button6Click();
  }
  SimWindow w{GetParam(), "127.0.20.19"};
};

TEST_P(Printing, AsksFirstAndAnsweringNoSendsNothing) {
  w.ui.yesAnswer = false;
  Print(kTypeReceipt, "1519", "1521");
  EXPECT_EQ(w.ui.questions, Lines{W("Печать требует затрат бумажной ленты")});
  EXPECT_EQ(w.ui.captions, Lines{W("Продолжить?")});
  EXPECT_EQ(w.RequestsReceived(), 0);
}

TEST_P(Printing, RangeIsSentAsEnteredEvenReversed) {
  Print(kTypeReceipt, "1519", "1521");
  Print(kTypeBoth, "15", "12");
  Print(kTypeCash, "0", "-4");
  EXPECT_EQ(Printouts(), (Lines{"1519 to 1521", "15 to 12", "0 to -4"}));
  const Lines log = w.SimLogLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "printout: receipt 1520 of 20160314112630"), 1);
}

TEST_P(Printing, ZReportNumbersAreSentAsTypedAlsoAfterARenderingFilledTheTable) {
  Print(kTypeZReport, "88", "89");
  w.FetchByNumber(kTypeZReport, 87, 89);
  // The rendering recorded the reports under their walk indices.
  ASSERT_EQ(w.form.tables.zNumberByPosition.Snapshot(),
            (std::map<int, int>{{0, 87}, {1, 88}, {2, 89}}));
  Print(kTypeZReport, "88", "89");
  Print(kTypeZReport, "1", "2");
  EXPECT_EQ(Printouts(), (Lines{"88 to 89", "88 to 89", "1 to 2"}));
}

TEST_P(Printing, NumberFieldThatIsNoIntegerRaisesAndSendsNothing) {
  EXPECT_THROW(Print(kTypeReceipt, "12", "1 5"), ConvertError);
  EXPECT_EQ(w.RequestsReceived(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, Printing,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

TEST(OneExchangeAtATime, ClicksDuringARunningRequestAreIgnored) {
  SimWindow w(Protocol::kZelmar, "127.0.20.20");
  w.ui.yesAnswer = true;
  // Window events run while the loop lets pending messages through: the operator clicks again.
  bool clicked = false;
  w.ui.onProcessMessages = [&w, &clicked] {
    if (std::exchange(clicked, true)) return;
    w.form.Button1Click();
    w.form.Button4Click();
    w.form.Button5Click();
    w.form.Button6Click();
  };
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1520));
  EXPECT_TRUE(w.ui.questions.empty());
  EXPECT_EQ(w.form.Edit1.text, "1519");
  w.form.Button6Click();
  EXPECT_EQ(w.ui.questions.size(), 1u);
}

}  // namespace
}  // namespace morvek::test
