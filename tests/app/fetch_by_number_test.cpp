// The request by number over loopback against the simulated register of either protocol: from the
// click to temp.xml, the model and the rendered list; the fetched-number tables; the progress.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/sim_window.h"
#include "archive/archive.h"
#include "sim/journal_generator.h"

namespace morvek::test {
namespace {

class FetchByNumber : public ::testing::TestWithParam<Protocol> {
 protected:
  std::string Address() const {
    return GetParam() == Protocol::kZelmar ? "127.0.20.10" : "127.0.20.11";
  }
  SimWindow w{GetParam(), Address()};
};

TEST_P(FetchByNumber, ReceiptsComeWholeAndReadAsThePrintedTape) {
  w.FetchByNumber(kTypeReceipt, 1519, 1523);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1523));
  EXPECT_EQ(Joined(w.form.ListBox2.lines), ReadFile(kGoldenDir + "ReceiptsFrom1519To1523.txt"));
  EXPECT_FALSE(w.app.Form4.visible);
  EXPECT_TRUE(w.form.visible);
}

TEST_P(FetchByNumber, ZReportAndReceiptsFetchedApartRenderAsTheWholeTapeDoes) {
  w.FetchByNumber(kTypeZReport, 87, 87);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kZReport, 87, 87));
  w.FetchByNumber(kTypeBoth, 1522, 1526);
  EXPECT_EQ(Joined(w.form.ListBox2.lines), ReadFile(kGoldenDir + "BothFrom1522To1526.txt"));
  w.FetchByNumber(kTypeCash, 1517, 1529);
  EXPECT_EQ(Joined(w.form.ListBox2.lines), ReadFile(kGoldenDir + "CashDocumentsWholeJournal.txt"));
}

// "Сохранять в архив" ticked: what a request loads goes into the archive the settings name, once;
// unticked, nothing does.
TEST_P(FetchByNumber, TickedSaveToArchiveStoresWhatTheRequestLoaded) {
  const std::string archivePath = w.dir.File("tapes.sqlite");
  w.app.Form2.iniPath = w.dir.File("morvek.ini");
  WriteFile(w.app.Form2.iniPath, "[Archive]\r\nPath=" + archivePath + "\r\n");
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  EXPECT_FALSE(std::filesystem::exists(archivePath));
  w.form.CheckBox1.checked = true;
  w.FetchByNumber(kTypeReceipt, 1521, 1523);
  w.FetchByNumber(kTypeZReport, 87, 87);
  const std::vector<FoundDocument> found = OpenArchive(archivePath)->Find({});
  ASSERT_EQ(found.size(), 4u) << Joined(w.ui.messages);
  EXPECT_EQ(found.front().number, 1521);
  EXPECT_EQ(found.back().kind, morvek::DocumentKind::kZReport);
  EXPECT_EQ(found.back().number, 87);
}

TEST_P(FetchByNumber, RangeFetchedBeforeAsksNothingAndRendersAgain) {
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  const Lines shown = w.form.ListBox2.lines;
  const int asked = w.RequestsReceived();
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.RequestsReceived(), asked);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1, 0));
  EXPECT_EQ(w.form.ListBox2.lines, shown);
}

TEST_P(FetchByNumber, NumbersTheRegisterLacksAreAskedAgain) {
  w.FetchByNumber(kTypeReceipt, 1528, 1531);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1528, 1531));
  const int asked = w.RequestsReceived();
  w.FetchByNumber(kTypeReceipt, 1528, 1531);
  EXPECT_EQ(w.RequestsReceived(), asked + 2);
}

// Discarded with the model when the register changes, the documents are another register's: the
// next request asks for them again instead of showing nothing.
TEST_P(FetchByNumber, DocumentsAccumulateUntilDiscardedAndAreThenAskedAgain) {
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  w.FetchByNumber(kTypeReceipt, 1521, 1522);
  w.FetchByNumber(kTypeZReport, 87, 87);
  w.form.loadedIntervals[0].Append(87, 87);
  EXPECT_EQ(w.form.rq.doc_index, 5);
  ASSERT_TRUE(w.form.tables.zNumberByPosition.IsFilled());
  w.form.DiscardDocuments();
  EXPECT_EQ(w.form.rq.doc_index, 0);
  EXPECT_FALSE(w.form.tables.zNumberByPosition.IsFilled());
  EXPECT_FALSE(w.form.loadedIntervals[0].Covers(87, 87));
  w.FetchByNumber(kTypeReceipt, 1519, 1522);
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1519, 1520, 1521, 1522}));
  w.FetchByNumber(kTypeZReport, 87, 87);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kZReport, 87, 87));
}

TEST_P(FetchByNumber, ProgressCountsTheNumbersAskedOnly) {
  w.FetchByNumber(kTypeReceipt, 1520, 1520);
  w.FetchByNumber(kTypeReceipt, 1519, 1522);
  EXPECT_EQ(w.progress,
            (Lines{"0.00%     1520", "0.00%     1519", "50.00%     1521", "75.00%     1522"}));
  EXPECT_EQ(w.app.Form4.Label2.text, "");
}

TEST_P(FetchByNumber, LoopEndsAtTheLargestNumber) {
  int asked = 0;
  w.ui.onProcessMessages = [&asked] {
    if (++asked > 2) throw std::runtime_error("asked past the last number");
  };
  w.FetchByNumber(kTypeReceipt, 2147483646, 2147483647);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(w.progress, (Lines{"0.00%     2147483646", "50.00%     2147483647"}));
}

TEST_P(FetchByNumber, FlagsLeftByABlockTransferDoNotKeepFetchedDocumentsOut) {
  w.form.alreadyLoaded = w.form.recordInterval = true;
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  EXPECT_EQ(w.form.rq.doc_index, 2);
}

TEST_P(FetchByNumber, RefusedOrUnreadableNumberFieldsAskNothing) {
  w.form.ListBox2.lines = {"earlier"};
  w.FetchByNumber(kTypeReceipt, 0, 5);
  w.FetchByNumber(kTypeReceipt, -3, -7);
  w.FetchByNumber(kTypeReceipt, 9, 8);
  EXPECT_EQ(w.ui.messages,
            (Lines{W("Началный номер должен быть >0!"), W("Началный номер должен быть >0!"),
                   W("Конечный номер должен быть не меньше начального!")}));
  EXPECT_EQ(w.form.ListBox2.lines, Lines{"earlier"});
  w.form.Edit1.text = " ";
  w.form.Button1Click();
  EXPECT_EQ(w.form.ListBox2.lines, (Lines{"earlier", kFailure1, kFailure2}));
  EXPECT_EQ(w.RequestsReceived(), 0);
  EXPECT_TRUE(w.form.visible);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, FetchByNumber,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

TEST(FetchByNumberOfZReports, DoesNotMarkTheSameReceiptNumbers) {
  JournalOptions options;
  options.receipts = 4;
  options.zReports = 2;
  SimWindow w(Protocol::kZelmar, "127.0.20.12", {}, GenerateJournal(options).xml);
  w.FetchByNumber(kTypeZReport, 1, 2);
  w.FetchByNumber(kTypeReceipt, 1, 2);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1, 2));
}

TEST(FetchByNumberInBlocks, RangeLoadedBeforeIsRenderedAgainWithoutLoading) {
  SimWindow w(Protocol::kDatecs, "127.0.20.21", {}, ReadFile(kSampleJournal), true);
  w.form.SetRecentFirmware(true);
  w.FetchByNumber(kTypeReceipt, 1519, 1521);
  EXPECT_EQ(w.TempXml(), w.ExpectedAssembly(DocumentKind::kReceipt, 1519, 1521));
  EXPECT_EQ(w.RequestsReceived(), 0);  // blocks, no frames
  EXPECT_TRUE(w.form.loadedIntervals[1].Covers(1519, 1521));
  w.FetchByNumber(kTypeReceipt, 1520, 1521);
  EXPECT_EQ(w.form.rq.doc_index, 3);
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1520, 1521}));
  // A request by date loads what the blocks bring but records no interval.
  w.DateFields("15.03.16", "00:00", "15.03.16", "23:59");
  w.form.Button4Click();
  EXPECT_EQ(w.form.rq.doc_index, 6);
  EXPECT_FALSE(w.form.loadedIntervals[1].Covers(1525, 1527));
}

}  // namespace
}  // namespace morvek::test
