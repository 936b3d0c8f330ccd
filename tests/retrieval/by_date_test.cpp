// Requests by date and the number return over loopback against the simulated register of either
// protocol. The sample journal's receipts 1519 to 1521 are stamped 14.03.16 between 09:42 and
// 12:03.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "retrieval/sim_window.h"
#include "sim/faults.h"

namespace morvek::test {
namespace {

using Lines = std::vector<std::string>;
using sim::DocumentKind;
using sim::Protocol;

class ByDate : public ::testing::TestWithParam<Protocol> {
 protected:
  bool Zelmar() const { return GetParam() == Protocol::kZelmar; }
  SimSetup Peer(std::vector<const char*> faults = {}) const {
    SimSetup setup;
    setup.protocol = GetParam();
    setup.address = Zelmar() ? "127.0.20.14" : "127.0.20.15";
    for (const char* fault : faults) setup.faults.push_back(*sim::ParseFault(fault));
    return setup;
  }
  static void Interval(SimWindow& w, const char* startDate, const char* startTime,
                       const char* endDate, const char* endTime) {
    w.form.Edit4.text = startDate;
    w.form.Edit6.text = startTime;
    w.form.Edit5.text = endDate;
    w.form.Edit7.text = endTime;
  }
  // The error line of a date request the register refused.
  static std::string ErrorLine(const std::string& code) {
    return W("РРО вернул ошибку:  ") + code + " !";
  }
};

TEST_P(ByDate, FetchShowsTheDocumentsOfTheInterval) {
  SimWindow w(Peer());
  w.Ask(kTypeBoth, 1, 2147483647);
  Interval(w, "14.03.16", " 9:00", "14.03.16", "12:30");
  w.form.Button4Click();
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1521));
  EXPECT_EQ(w.form.rq.doc_index, 3);
  EXPECT_EQ(w.form.tables.shownNumbers.Get(1520), 1);
  EXPECT_NE(w.form.ListBox2.lines.size(), 0u);
  EXPECT_FALSE(w.app.Form4.visible);
  EXPECT_TRUE(w.form.visible);
}

TEST_P(ByDate, DeviceTextsCarryTwoDigitsEach) {
  SimWindow w(Peer());
  Interval(w, " 5.03.24", "00:00", " 6.03.24", " 9:05");
  w.form.Button4Click();
  const std::string sent = Zelmar() ? w.app.Form2.lastZelmarResult->requestText
                                    : w.app.Form2.lastDatecsResult.requestText;
  EXPECT_EQ(sent, Zelmar() ? "582941;050324;0000;060324;0905;0;" : "050324,0000,060324,0905,0");
}

TEST_P(ByDate, EndDateBeforeTheStartIsRefusedWithoutAskingTheRegister) {
  SimWindow w(Peer());
  w.form.ListBox2.lines = {"earlier"};
  for (const auto& [start, end] : {std::pair{"01.03.24", "29.02.24"}, {"31.12.99", "01.01.00"}}) {
    Interval(w, start, "00:00", end, "23:59");
    w.form.Button4Click();
  }
  EXPECT_EQ(w.ui.messages, Lines(2, W("Конечная дата должна быть не меньше начальной!")));
  EXPECT_EQ(w.RequestsReceived(), 0);
  EXPECT_EQ(w.form.ListBox2.lines, Lines{"earlier"});
}

TEST_P(ByDate, EqualDatesAreAskedWhateverTheTimesAndARefusalIsShown) {
  SimWindow w(Peer());
  w.form.ListBox2.lines = {"earlier"};
  Interval(w, "14.03.16", "12:00", "14.03.16", "09:00");
  w.form.Button4Click();
  EXPECT_EQ(w.RequestsReceived(), 1);
  // The register knows no receipt in that interval.
  EXPECT_EQ(w.form.ListBox2.lines, Lines{ErrorLine(Zelmar() ? "0C06" : "")});
}

TEST_P(ByDate, RequestThatDeliveredNothingShowsTheErrorLine) {
  SimWindow w(Peer({Zelmar() ? "silent@1" : "close@1"}));
  if (Zelmar()) w.app.zelmar.ZelmarSetRetryCount(0);
  Interval(w, "14.03.16", "09:00", "14.03.16", "12:30");
  w.form.Button4Click();
  EXPECT_EQ(w.form.ListBox2.lines, Lines{ErrorLine("")});
  EXPECT_EQ(w.form.rq.doc_index, 0);
}

TEST_P(ByDate, BlankDateFieldEndsTheFetchWithTheFailureLines) {
  SimWindow w(Peer());
  Interval(w, "14.03.16", "09:00", "  .  .  ", "12:30");
  w.form.Button4Click();
  EXPECT_EQ(w.form.ListBox2.lines,
            (Lines{W("Непредвиденный сбой в структуре получаемой информации!"),
                   W("Попробуйте выбрать другой диапазон номеров или дат!")}));
  EXPECT_EQ(w.RequestsReceived(), 0);
  EXPECT_FALSE(w.app.Form4.visible);
}

TEST_P(ByDate, NumberReturnPutsTheNumbersIntoTheFieldsAndTheModel) {
  SimWindow w(Peer());
  w.form.Button1.enabled = w.form.Button6.enabled = false;
  Interval(w, "14.03.16", "09:00", "14.03.16", "12:30");
  w.form.Button5Click();
  EXPECT_EQ(w.form.Edit1.text, "1519");
  EXPECT_EQ(w.form.Edit2.text, "1521");
  EXPECT_EQ(w.form.rq.check_no_min, 1519);
  EXPECT_EQ(w.form.rq.check_no_max, 1521);
  EXPECT_TRUE(w.form.Button1.enabled);
  EXPECT_TRUE(w.form.Button6.enabled);
  EXPECT_EQ(w.form.rq.doc_index, 0);
}

TEST_P(ByDate, NumberReturnWithNothingUsableLeavesOneAndOne) {
  SimWindow w(Peer());
  w.form.rq.check_no_min = 7;
  Interval(w, "14.03.16", "12:00", "14.03.16", "09:00");
  w.form.Button5Click();
  EXPECT_EQ(w.form.Edit1.text, "1");
  EXPECT_EQ(w.form.Edit2.text, "1");
  EXPECT_EQ(w.form.rq.check_no_min, 1);
  EXPECT_EQ(w.form.rq.check_no_max, 1);
  if (Zelmar()) {
    EXPECT_EQ(w.ui.messages, Lines{W("РРО вернул ошибку:0C06")});
    EXPECT_EQ(w.ui.captions, Lines{"Error"});
  } else {
    EXPECT_EQ(w.ui.messages.size(), 1u);  // the register's error, from the result callback
  }
}

TEST_P(ByDate, NumberReturnLostOnTheWayDoesNotRepeatTheEarlierNumbers) {
  // Zelmar: the reply carries another sequence number and is dropped; Datecs: the register hangs
  // up and the driver connects again, delivering nothing.
  SimWindow w(Peer({Zelmar() ? "seq@2" : "close@2"}));
  if (Zelmar()) w.app.zelmar.ZelmarSetRetryCount(0);
  Interval(w, "14.03.16", "09:00", "14.03.16", "12:30");
  w.form.Button5Click();
  ASSERT_EQ(w.form.Edit1.text, "1519");
  Interval(w, "15.03.16", "00:00", "15.03.16", "23:59");
  w.form.Button5Click();
  // Zelmar asks once more after the reply to another request and gets the numbers.
  EXPECT_EQ(w.form.Edit1.text, Zelmar() ? "1525" : "1");
  EXPECT_EQ(w.form.Edit2.text, Zelmar() ? "1527" : "1");
  EXPECT_EQ(w.RequestsReceived(), Zelmar() ? 3 : 2);
}

TEST_P(ByDate, BlankTimeFieldRaisesFromTheNumberReturnAndChangesNothing) {
  SimWindow w(Peer());
  w.form.Edit1.text = "5";
  Interval(w, "14.03.16", "  :  ", "14.03.16", "12:30");
  EXPECT_THROW(w.form.Button5Click(), ConvertError);
  EXPECT_EQ(w.form.Edit1.text, "5");
  EXPECT_EQ(w.RequestsReceived(), 0);
  EXPECT_FALSE(w.app.ExchangeRunning());
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, ByDate,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

TEST(ByDateZelmar, AcquirerLinkStatusAddsTheAdviceLine) {
  SimSetup setup;
  setup.address = "127.0.20.16";
  setup.faults = {*sim::ParseFault("status@1=0CD0")};
  SimWindow w(setup);
  w.form.Edit4.text = w.form.Edit5.text = "14.03.16";
  w.form.Edit6.text = "00:00";
  w.form.Edit7.text = "23:59";
  w.form.Button4Click();
  EXPECT_EQ(w.form.ListBox2.lines,
            (Lines{W("РРО вернул ошибку:  0CD0 !"),
                   W("Необходимо связаться с экваером и передать данные!")}));
}

}  // namespace
}  // namespace morvek::test
