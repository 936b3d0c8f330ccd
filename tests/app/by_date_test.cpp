// Requests by date and the number return over loopback against the simulated register of either
// protocol. The sample journal's receipts 1519 to 1521 are stamped 14.03.16 from 09:42 to 12:03,
// 1525 to 1527 on 15.03.16.
#include <gtest/gtest.h>

#include "app/sim_window.h"
#include "codec/errors.h"

namespace morvek::test {
namespace {

class ByDate : public ::testing::TestWithParam<Protocol> {
 protected:
  bool Zelmar() const { return GetParam() == Protocol::kZelmar; }
  static std::string ErrorLine(const std::string& code) {
    return W("РРО вернул ошибку:  ") + code + " !";
  }
};

TEST_P(ByDate, FetchShowsTheDocumentsOfTheInterval) {
  SimWindow w(GetParam(), "127.0.20.17");
  w.Ask(kTypeBoth, 1, 2147483647);
  w.DateFields("14.03.16", " 9:00", "14.03.16", "12:30");
  w.form.Button4Click();
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1521));
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1519, 1520, 1521}));
  EXPECT_FALSE(w.app.Form4.visible);
}

TEST_P(ByDate, DeviceTextsCarryTwoDigitsEach) {
  SimWindow w(GetParam(), "127.0.20.17");
  w.DateFields(" 5.03.24", "00:00", " 6.03.24", " 9:05");
  w.form.Button4Click();
  EXPECT_EQ(Zelmar() ? w.app.Form2.lastZelmarResult->requestText
                     : w.app.Form2.lastDatecsResult.requestText,
            Zelmar() ? "582941;050324;0000;060324;0905;0;" : "050324,0000,060324,0905,0");
}

TEST_P(ByDate, EndDateBeforeTheStartOrABlankFieldAsksNothing) {
  SimWindow w(GetParam(), "127.0.20.17");
  w.form.ListBox2.lines = {"earlier"};
  w.DateFields("01.03.24", "00:00", "29.02.24", "23:59");
  w.form.Button4Click();
  w.DateFields("31.12.99", "00:00", "01.01.00", "23:59");
  w.form.Button4Click();
  EXPECT_EQ(w.ui.messages, Lines(2, W("Конечная дата должна быть не меньше начальной!")));
  EXPECT_EQ(w.form.ListBox2.lines, Lines{"earlier"});
  w.DateFields("14.03.16", "09:00", "  .  .  ", "12:30");
  w.form.Button4Click();
  EXPECT_EQ(w.form.ListBox2.lines, (Lines{"earlier", kFailure1, kFailure2}));
  EXPECT_EQ(w.RequestsReceived(), 0);
}

TEST_P(ByDate, RegistersRefusalOfEqualDatesIsShownAsItsErrorLine) {
  SimWindow w(GetParam(), "127.0.20.17");
  w.DateFields("14.03.16", "12:00", "14.03.16", "09:00");
  w.form.Button4Click();
  // The register knows no receipt from 12:00 to 09:00.
  EXPECT_EQ(w.form.ListBox2.lines, Lines{ErrorLine(Zelmar() ? "0C06" : "")});
}

TEST_P(ByDate, FetchWhoseReplyWasLostShowsTheErrorLine) {
  // The reply is lost: Zelmar's carries another sequence number and is dropped (and with no
  // resends not asked for again); Datecs' register hangs up and the driver connects again.
  SimWindow w(GetParam(), "127.0.20.15", {Zelmar() ? "seq@1" : "close@1"});
  w.app.zelmar.ZelmarSetRetryCount(0);
  w.DateFields("14.03.16", "09:00", "14.03.16", "12:30");
  w.form.Button4Click();
  EXPECT_EQ(w.form.ListBox2.lines, Lines{ErrorLine("")});
}

TEST_P(ByDate, NumberReturnFillsTheFieldsAndTheModelOrLeavesOneAndOne) {
  SimWindow w(GetParam(), "127.0.20.17");
  w.form.Button1.enabled = w.form.Button6.enabled = false;
  w.DateFields("14.03.16", "09:00", "14.03.16", "12:30");
  w.form.Button5Click();
  EXPECT_EQ(Lines({w.form.Edit1.text, w.form.Edit2.text}), (Lines{"1519", "1521"}));
  EXPECT_EQ(w.form.rq.check_no_min, 1519);
  EXPECT_EQ(w.form.rq.check_no_max, 1521);
  EXPECT_TRUE(w.form.Button1.enabled && w.form.Button6.enabled);

  w.DateFields("14.03.16", "12:00", "14.03.16", "09:00");
  w.form.Button5Click();
  EXPECT_EQ(Lines({w.form.Edit1.text, w.form.Edit2.text}), (Lines{"1", "1"}));
  EXPECT_EQ(w.form.rq.check_no_max, 1);
  // Zelmar's refusal is shown here; Datecs' by the driver's result callback.
  EXPECT_EQ(w.ui.messages.size(), 1u);
  if (Zelmar()) {
    EXPECT_EQ(w.ui.messages, Lines{W("РРО вернул ошибку:0C06")});
  }
}

TEST_P(ByDate, NumberReturnWhoseReplyWasLostDoesNotRepeatTheEarlierNumbers) {
  SimWindow w(GetParam(), "127.0.20.15", {Zelmar() ? "seq@2" : "close@2"});
  w.app.zelmar.ZelmarSetRetryCount(0);
  w.DateFields("14.03.16", "09:00", "14.03.16", "12:30");
  w.form.Button5Click();
  w.DateFields("15.03.16", "00:00", "15.03.16", "23:59");
  w.form.Button5Click();
  // Zelmar asks once more after the reply to another request.
  EXPECT_EQ(Lines({w.form.Edit1.text, w.form.Edit2.text}),
            (Zelmar() ? Lines{"1525", "1527"} : Lines{"1", "1"}));
}

TEST_P(ByDate, BlankTimeFieldRaisesFromTheNumberReturnAndChangesNothing) {
  SimWindow w(GetParam(), "127.0.20.17");
  w.form.Edit1.text = "5";
  w.DateFields("14.03.16", "  :  ", "14.03.16", "12:30");
  EXPECT_THROW(w.form.Button5Click(), ConvertError);
  EXPECT_EQ(w.form.Edit1.text, "5");
  EXPECT_FALSE(w.app.ExchangeRunning());
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, ByDate,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

TEST(ByDateZelmar, AcquirerLinkStatusAddsTheAdviceLine) {
  SimWindow w(Protocol::kZelmar, "127.0.20.18", {"status@1=0CD0"});
  w.DateFields("14.03.16", "00:00", "14.03.16", "23:59");
  w.form.Button4Click();
  EXPECT_EQ(w.form.ListBox2.lines,
            (Lines{W("РРО вернул ошибку:  0CD0 !"),
                   W("Необходимо связаться с экваером и передать данные!")}));
}

}  // namespace
}  // namespace morvek::test
