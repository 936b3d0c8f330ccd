// The request by number over loopback against the simulated register of either protocol: the
// click, the fragments, temp.xml, the model and the rendered list, the fetched-number tables and
// the progress texts.
#include <gtest/gtest.h>

#include "bench/journal_generator.h"
#include "retrieval/sim_window.h"

namespace morvek::test {
namespace {

using Lines = std::vector<std::string>;
using sim::DocumentKind;
using sim::Protocol;

class FetchByNumber : public ::testing::TestWithParam<Protocol> {
 protected:
  static SimSetup Peer(std::string journal = ReadFile(kSampleJournal)) {
    SimSetup setup;
    setup.protocol = GetParam();
    setup.address = GetParam() == Protocol::kZelmar ? "127.0.20.10" : "127.0.20.11";
    setup.journal = std::move(journal);
    return setup;
  }
};

TEST_P(FetchByNumber, ReceiptsComeWholeAndReadAsThePrintedTape) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeReceipt, 1519, 1523);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1523));
  EXPECT_EQ(Joined(w.form.ListBox2.lines), ReadFile(kGoldenDir + "ReceiptsFrom1519To1523.txt"));
  EXPECT_EQ(w.form.ListBox1.lines.size(), 5u + 3u);
  EXPECT_TRUE(w.ui.messages.empty());
}

TEST_P(FetchByNumber, ZReportAndReceiptsFetchedApartRenderAsTheWholeTapeDoes) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeZReport, 87, 87);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kZReport, 87, 87));
  w.FetchByNumber(kTypeBoth, 1522, 1526);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1522, 1526));
  EXPECT_EQ(Joined(w.form.ListBox2.lines), ReadFile(kGoldenDir + "BothFrom1522To1526.txt"));
}

TEST_P(FetchByNumber, CashDocumentsShowInTheirOwnLayout) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeCash, 1517, 1529);
  EXPECT_EQ(Joined(w.form.ListBox2.lines), ReadFile(kGoldenDir + "CashDocumentsWholeJournal.txt"));
}

TEST_P(FetchByNumber, RangeFetchedBeforeAsksTheRegisterNothing) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  const Lines shown = w.form.ListBox2.lines;
  const int asked = w.RequestsReceived();
  ASSERT_GT(asked, 3);

  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.RequestsReceived(), asked);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1, 0));
  EXPECT_EQ(w.form.ListBox2.lines, shown);
  EXPECT_EQ(w.form.rq.doc_index, 3);
}

TEST_P(FetchByNumber, FetchedZReportsDoNotMarkTheSameReceiptNumbers) {
  JournalOptions options;
  options.receipts = 6;
  options.zReports = 2;
  SimWindow w(Peer(GenerateJournal(options).xml));
  w.FetchByNumber(kTypeZReport, 1, 2);
  EXPECT_EQ(w.form.rq.z_no_max, 2);
  const int asked = w.RequestsReceived();
  w.FetchByNumber(kTypeReceipt, 1, 2);
  EXPECT_GT(w.RequestsReceived(), asked);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1, 2));
  EXPECT_EQ(w.form.rq.check_no_min, 1);
  EXPECT_EQ(w.form.rq.check_no_max, 2);
}

TEST_P(FetchByNumber, DocumentsAccumulateUntilDiscardedWhileFetchedNumbersStay) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  w.FetchByNumber(kTypeReceipt, 1521, 1522);
  EXPECT_EQ(w.form.rq.doc_index, 4);
  EXPECT_EQ(w.form.rq.check_no_min, 1519);
  EXPECT_EQ(w.form.rq.check_no_max, 1522);

  w.form.DiscardDocuments();
  EXPECT_EQ(w.form.rq.doc_index, 0);
  const int asked = w.RequestsReceived();
  w.FetchByNumber(kTypeReceipt, 1519, 1522);
  EXPECT_EQ(w.RequestsReceived(), asked);
  EXPECT_EQ(w.form.ListBox2.lines, Lines{W("Запрашиваемые данные отсутствуют!")});
}

TEST_P(FetchByNumber, ProgressCountsTheNumbersAskedInTheNoticeWindow) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeReceipt, 1519, 1522);
  EXPECT_EQ(w.progress,
            (Lines{"0.00%     1519", "25.00%     1520", "50.00%     1521", "75.00%     1522"}));
  EXPECT_EQ(w.app.Form4.caption, W("ВНИМАНИЕ!!!!"));
  EXPECT_EQ(w.app.Form4.Label1.text, W("ИДЁТ ОБРАБОТКА ДАННЫХ...."));
  EXPECT_EQ(w.app.Form4.Label2.text, "");
  EXPECT_FALSE(w.app.Form4.visible);
  EXPECT_TRUE(w.form.visible);
}

TEST_P(FetchByNumber, NumbersFetchedBeforeShowNoProgress) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeReceipt, 1520, 1520);
  EXPECT_EQ(w.progress, Lines{"0.00%     1520"});
  w.progress.clear();
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.progress, (Lines{"0.00%     1519", "66.67%     1521"}));
}

TEST_P(FetchByNumber, NumbersTheRegisterDoesNotHoldAreAskedAgainLater) {
  SimWindow w(Peer());
  w.FetchByNumber(kTypeReceipt, 1528, 1531);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1528, 1531));
  const int asked = w.RequestsReceived();
  w.FetchByNumber(kTypeReceipt, 1528, 1531);
  EXPECT_EQ(w.RequestsReceived(), asked + 2);
}

TEST_P(FetchByNumber, LoopEndsAtTheLargestNumber) {
  SimWindow w(Peer());
  int asked = 0;
  w.ui.onProcessMessages = [&asked] {
    if (++asked > 2) throw std::runtime_error("asked past the last number");
  };
  w.FetchByNumber(kTypeReceipt, 2147483646, 2147483647);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(w.progress, (Lines{"0.00%     2147483646", "50.00%     2147483647"}));
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1, 0));
}

TEST_P(FetchByNumber, FlagsLeftByABlockTransferDoNotKeepFetchedDocumentsOut) {
  SimWindow w(Peer());
  w.form.alreadyLoaded = true;
  w.form.recordInterval = true;
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  EXPECT_EQ(w.form.rq.doc_index, 2);
  EXPECT_FALSE(w.form.recordInterval);
}

TEST_P(FetchByNumber, RefusedNumberFieldsAskNothingAndKeepTheList) {
  SimWindow w(Peer());
  w.form.ListBox2.lines = {"earlier"};
  struct Case {
    int first, last;
    const char* message;
  };
  for (const Case& c : {Case{0, 5, "Началный номер должен быть >0!"},
                        Case{-3, -7, "Началный номер должен быть >0!"},
                        Case{9, 8, "Конечный номер должен быть не меньше начального!"}}) {
    w.ui.messages.clear();
    w.FetchByNumber(kTypeReceipt, c.first, c.last);
    EXPECT_EQ(w.ui.messages, Lines{W(c.message)}) << c.first << ".." << c.last;
  }
  EXPECT_EQ(w.RequestsReceived(), 0);
  EXPECT_EQ(w.form.ListBox2.lines, Lines{"earlier"});
  EXPECT_FALSE(w.app.Form4.visible);
  EXPECT_TRUE(w.form.visible);
}

TEST_P(FetchByNumber, NumberFieldThatIsNoIntegerEndsWithTheFailureLines) {
  SimWindow w(Peer());
  w.form.ListBox2.lines = {"earlier"};
  for (const char* text : {"", "  ", "1 5", "2147483648"}) {
    w.form.Edit1.text = text;
    w.form.Edit2.text = "3";
    w.form.Button1Click();
  }
  EXPECT_EQ(w.RequestsReceived(), 0);
  ASSERT_EQ(w.form.ListBox2.lines.size(), 9u);
  EXPECT_EQ(w.form.ListBox2.lines[7], W("Непредвиденный сбой в структуре получаемой информации!"));
  EXPECT_EQ(w.form.ListBox2.lines[8], W("Попробуйте выбрать другой диапазон номеров или дат!"));
  EXPECT_FALSE(w.app.Form4.visible);
  EXPECT_TRUE(w.form.visible);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, FetchByNumber,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

}  // namespace
}  // namespace morvek::test
