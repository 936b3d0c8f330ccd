// Block transfer: the block bytes, the cutting of reply blocks into documents, and the retrieval
// window fetching from the simulated register over loopback, with the register's faults.
#include "blocks/block_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "codec/base64.h"
#include "codec/crc16.h"
#include "session/outcome.h"
#include "sim/journal_generator.h"
#include "sim/sim_peer.h"
#include "test_support.h"

namespace morvek {
namespace {

using Lines = std::vector<std::string>;

std::string Bytes(std::initializer_list<unsigned> bytes) {
  std::string text;
  for (unsigned b : bytes) text += static_cast<char>(b);
  return text;
}

TEST(BlockFormat, GiveDocumentsBlockCarriesTypeAndNumbersLittleEndian) {
  const std::string payload = Bytes({0x01, 0x01, 0, 0, 0, 0x0A, 0, 0, 0});
  const std::uint16_t crc = Crc16Modbus(payload);
  EXPECT_EQ(GiveDocumentsBlock(1, 1, 10),
            Bytes({0x07, 0x07, 0x10, 0x09, 0x00}) + payload +
                Bytes({crc & 0xFFu, static_cast<unsigned>(crc >> 8)}));
  EXPECT_EQ(GiveDocumentsBlock(0, 258, 65536).substr(5, 9),
            Bytes({0x00, 0x02, 0x01, 0, 0, 0, 0, 0x01, 0}));
}

TEST(BlockFormat, ContinueBlockIsAlwaysTheSameNineBytes) {
  EXPECT_EQ(ContinueBlock(), Bytes({0x07, 0x07, 0x21, 0x02, 0x00, 0x02, 0x00, 0x00, 0xD0}));
  EXPECT_EQ(Crc16Modbus("123456789"), 0x4B37);
}

std::string Reply(std::uint8_t flags, std::int32_t document, const std::string& payload) {
  const auto n = static_cast<unsigned>(payload.size());
  const auto d = static_cast<std::uint32_t>(document);
  const std::uint16_t crc = Crc16Modbus(payload);
  return Bytes({0x07, 0x07, flags, 0, d & 0xFF, d >> 8 & 0xFF, d >> 16 & 0xFF, d >> 24, n & 0xFF,
                n >> 8}) +
         payload + Bytes({crc & 0xFFu, static_cast<unsigned>(crc >> 8)});
}

TEST(ReplyBlocks, ShortLongOrCorruptBlocksFailTheirCheck) {
  const std::string bytes = Reply(0x01, 5, "QUJD");
  EXPECT_FALSE(ReadReplyBlock(bytes.substr(0, bytes.size() - 1)).crcOk);
  EXPECT_FALSE(ReadReplyBlock(bytes + "x").crcOk);
  std::string corrupt = bytes;
  corrupt[11] ^= 0x01;
  EXPECT_FALSE(ReadReplyBlock(corrupt).crcOk);
  EXPECT_EQ(ReadReplyBlock(corrupt).flags, 0x01) << "its flags still count";
  EXPECT_FALSE(ReadReplyBlock(Reply(0x01, 5, std::string(1449, 'A'))).crcOk)
      << "longer than a block can be";
  EXPECT_FALSE(ReadReplyBlock("\x07").magic);
}

TEST(ReplyBlocks, ZeroEndedTextsOfAPayloadJoinIntoOneDocumentText) {
  std::string text;
  AppendPayloadTexts(Base64Encode("<DAT>") + '\0' + Base64Encode("</DAT>") + '\0', text);
  EXPECT_EQ(text, "<DAT></DAT>");
  AppendPayloadTexts(Base64Encode("<MAC/>"), text);  // no zero: ends with the payload
  EXPECT_EQ(text, "<DAT></DAT><MAC/>");
}

// The retrieval window against the in-process simulated register with block transfer.
class BlockFetch : public ::testing::Test {
 protected:
  // Serves journal on host with the faults given; connects the window's socket and announces.
  void Connect(const std::string& host, const std::string& journal,
               std::vector<std::string> faults = {}, std::FILE* logFile = nullptr) {
    sim::SimOptions options;
    options.host = host;
    options.registerConfig.block = true;
    for (const auto& text : faults) options.registerConfig.faults.push_back(*sim::ParseFault(text));
    peer_ = std::make_unique<SimPeer>(options, journal, logFile);
    journal_ = peer_->journal;
    peer_->Connect(app.Form1.ClientSocket1);
    form.tempXmlPath = dir.File("temp.xml");
    app.Form4.Show();
    app.Form4.onRepaint = [this] { progress.push_back(app.Form4.Label2.text); };
  }
  void TearDown() override {
    app.Form1.ClientSocket1.Deactivate();
    if (peer_) peer_->server->Stop();
  }
  // The journal texts of receipts first to last, as the window's document lines.
  Lines Receipts(int first, int last) const {
    Lines lines;
    for (int n = first; n <= last; ++n)
      if (const auto* d = journal_->Find(sim::DocumentKind::kReceipt, n))
        lines.emplace_back(journal_->Text(*d));
    return lines;
  }
  Lines Documents() const {
    const Lines& all = form.ListBox1.lines;
    return Lines(all.begin() + 2, all.end() - 1);
  }

  test::TempDir dir;
  test::RecordingUi ui;
  Application app{ui, [] {
                    RegisterTimings timings;
                    timings.blocks = {1000, 300};
                    return timings;
                  }()};
  TForm53& form = app.Form53;
  Lines progress;
  std::unique_ptr<SimPeer> peer_;
  std::shared_ptr<const sim::Journal> journal_;
};

// Receipts 1 to count, short ones, and receipt longOne long enough for three blocks.
std::string ReceiptJournal(int count, int longOne = 0) {
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (int n = 1; n <= count; ++n) {
    const std::string d = std::to_string(n);
    text += "<DAT DI=\"" + d + "\"><C T=\"0\"><L N=\"1\">" +
            std::string(n == longOne ? 3000 : 8, 'x') + "</L><E N=\"2\" NO=\"" + d +
            "\" SM=\"0\"/></C><TS>20151204120000</TS></DAT><MAC DI=\"" + d + "\"/>\r\n";
  }
  return text + "</RQ>\r\n";
}

std::string Generated(int receipts, int zReports) {
  JournalOptions options;
  options.receipts = receipts;
  options.zReports = zReports;
  options.seed = 11;
  return GenerateJournal(options).xml;
}

TEST_F(BlockFetch, EmptyListFetchesTheRangeInOneTransferAndRecordsIt) {
  std::FILE* wire = std::fopen(dir.File("sim.log").c_str(), "w");
  ASSERT_NE(wire, nullptr);
  Connect("127.0.30.1", ReceiptJournal(12), {}, wire);
  form.FetchBlocks(1, 10, 1);
  peer_->server->Stop();
  std::fclose(wire);
  EXPECT_FALSE(form.alreadyLoaded);
  EXPECT_TRUE(form.recordInterval);
  EXPECT_EQ(Documents(), Receipts(1, 10));
  EXPECT_EQ(form.ListBox1.lines.front(), "<?xml version=\"1.0\" encoding=\"windows-1251\"?>");
  EXPECT_EQ(form.ListBox1.lines.back(), "</RQ>");
  std::string written;
  for (const auto& line : form.ListBox1.lines) written.append(line) += "\r\n";
  EXPECT_EQ(test::ReadFile(form.tempXmlPath), written);
  // One give-documents block on the wire: type 1, numbers 1 and 10.
  const std::string log = test::ReadFile(dir.File("sim.log"));
  std::size_t gives = 0;
  for (std::size_t at = log.find("<- 07 07 10"); at != std::string::npos;
       at = log.find("<- 07 07 10", at + 1))
    ++gives;
  EXPECT_EQ(gives, 1u);
  EXPECT_NE(log.find("<- 07 07 10 09 00 01 01 00 00 00 0A 00 00 00"), std::string::npos);
}

TEST_F(BlockFetch, ARangeInsideALoadedOneFetchesNothing) {
  Connect("127.0.30.2", ReceiptJournal(12));
  form.loadedIntervals[1].Append(1, 10);
  form.FetchBlocks(3, 7, 1);
  EXPECT_TRUE(form.alreadyLoaded);
  EXPECT_FALSE(form.recordInterval);
  EXPECT_TRUE(Documents().empty());
  EXPECT_EQ(test::ReadFile(form.tempXmlPath),
            "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n</RQ>\r\n");
  EXPECT_EQ(form.outcome.Count(Fate::kHeld), 5);
}

// Every part of the request that no earlier transfer loaded is fetched, and only that, whatever
// order the loaded ranges came in; the whole request is held afterwards.
TEST_F(BlockFetch, EveryPartNotHeldIsFetchedOnceAndTheWholeRequestIsThenHeld) {
  struct Case {
    std::vector<interval::Range> held;
    int first, last;
    std::vector<interval::Range> fetched;
  };
  const Case cases[] = {
      {{{1, 10}}, 5, 20, {{11, 20}}},
      {{{20, 30}, {1, 10}}, 1, 40, {{11, 19}, {31, 40}}},
      {{{35, 40}, {1, 10}, {20, 30}}, 20, 40, {{31, 34}}},
      {{{1, 10}, {20, 30}}, 1, 30, {{11, 19}}},
  };
  Connect("127.0.30.3", ReceiptJournal(40));
  form.SetRecentFirmware(true);
  for (const Case& c : cases) {
    form.DiscardDocuments();
    for (const auto& [first, last] : c.held) form.loadedIntervals[1].Append(first, last);
    form.SetRequest(kTypeReceipt, c.first, c.last);
    form.Button1Click();
    Lines expected;
    for (const auto& [first, last] : c.fetched)
      for (const std::string& line : Receipts(first, last)) expected.push_back(line);
    EXPECT_EQ(Documents(), expected) << c.first << " to " << c.last;
    EXPECT_TRUE(form.loadedIntervals[1].Covers(c.first, c.last));
    EXPECT_TRUE(UndeliveredLines(form.outcome).empty());
  }
}

TEST_F(BlockFetch, RangesAreKeptApartByDocumentType) {
  Connect("127.0.30.9", Generated(20, 5));
  form.SetRecentFirmware(true);
  form.SetRequest(kTypeZReport, 1, 5);
  form.Button1Click();
  EXPECT_TRUE(form.loadedIntervals[0].Covers(1, 5));
  form.SetRequest(kTypeReceipt, 1, 5);
  form.Button1Click();
  EXPECT_EQ(Documents(), Receipts(1, 5)) << "Z-reports 1 to 5 held no receipts";
}

TEST_F(BlockFetch, ADocumentContinuedAcrossBlocksIsOneLine) {
  Connect("127.0.30.6", ReceiptJournal(3, 3));
  form.FetchBlocks(2, 3, 1);
  EXPECT_EQ(Documents(), Receipts(2, 3));
  EXPECT_GT(Documents().back().size(), 2 * kMaxReplyPayload);
}

TEST_F(BlockFetch, ProgressShowsTheShareDoneAndTheDocumentNumber) {
  Connect("127.0.30.7", ReceiptJournal(5));
  form.FetchBlocks(1, 4, 1);
  EXPECT_EQ(progress.back(), "75.00%     4");
  EXPECT_NE(std::find(progress.begin(), progress.end(), "25.00%     2"), progress.end());
}

TEST_F(BlockFetch, ReceiptsZReportsAndBothComeByTheirOwnNumbers) {
  const std::string journal = Generated(40, 3);
  Connect("127.0.30.8", journal);
  form.FetchBlocks(1, 3, 0);
  Lines zReports;
  for (int n = 1; n <= 3; ++n)
    zReports.emplace_back(journal_->Text(*journal_->Find(sim::DocumentKind::kZReport, n)));
  EXPECT_EQ(Documents(), zReports);
  form.FetchBlocks(1, 40, 1);
  EXPECT_EQ(Documents(), Receipts(1, 40));
  EXPECT_NO_THROW(form.LoadDocument(test::ReadFile(form.tempXmlPath)));
  EXPECT_EQ(form.rq.check_no_max, 40);
}

// Faults: every transfer ends within the waits, keeps what arrived whole and records nothing.
TEST_F(BlockFetch, ABlockWithAWrongCrcLosesTheWholeDocumentItBelongsTo) {
  // Receipt 2 comes in three blocks (requests 2 to 4); the middle one is broken.
  Connect("127.0.30.10", ReceiptJournal(4, 2), {"crc@3"});
  form.FetchBlocks(1, 4, 1);
  EXPECT_EQ(Documents(), (Lines{Receipts(1, 1)[0], Receipts(3, 3)[0], Receipts(4, 4)[0]}));
  EXPECT_EQ(UndeliveredLines(form.outcome), Lines{"receipt 2: lost: a damaged block"});
}

TEST_F(BlockFetch, OneReplyWithoutMagicIsPassedOver) {
  Connect("127.0.30.11", ReceiptJournal(6), {"nomagic@2"});
  form.FetchBlocks(1, 6, 1);
  Lines expected = Receipts(1, 6);
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(Documents(), expected);
  // The reply without magic names no document: the one missing is taken for the one it carried.
  EXPECT_EQ(UndeliveredLines(form.outcome), Lines{"receipt 2: lost: a damaged block"});
}

TEST_F(BlockFetch, ThreeRepliesWithoutMagicEndTheTransfer) {
  Connect("127.0.30.12", ReceiptJournal(8), {"nomagic@3", "nomagic@4", "nomagic@5"});
  form.FetchBlocks(1, 8, 1);
  EXPECT_EQ(Documents(), Receipts(1, 2));
  EXPECT_EQ(UndeliveredLines(form.outcome),
            Lines{"receipts 3 to 8: lost: the transfer ended before it came"});
}

TEST_F(BlockFetch, ARegisterThatStopsMidTransferEndsItWithTheDocumentsSoFar) {
  Connect("127.0.30.13", ReceiptJournal(8, 4), {"stop@5"});
  form.FetchBlocks(1, 8, 1);
  EXPECT_EQ(Documents(), Receipts(1, 3)) << "receipt 4 was still open";
  EXPECT_EQ(UndeliveredLines(form.outcome),
            (Lines{"receipt 4: lost: the transfer ended before it came",
                   "receipts 5 to 8: lost: no reply"}));
}

TEST_F(BlockFetch, AnOversizeBlockIsReadWholeAndRefused) {
  Connect("127.0.30.14", ReceiptJournal(5), {"bigblock@2"});
  form.FetchBlocks(1, 5, 1);
  Lines expected = Receipts(1, 5);
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(Documents(), expected);
  EXPECT_EQ(UndeliveredLines(form.outcome), Lines{"receipt 2: lost: a damaged block"});
}

// The register holds the last block of 1 to 3 back until the next request comes. The next
// transfer must not take it for its own last block: it would record 5 to 8 as loaded with none of
// them there, and they would never be asked again.
TEST_F(BlockFetch, ALateBlockIsDroppedAndTheNextTransferStaysInStep) {
  Connect("127.0.30.15", ReceiptJournal(8), {"late@3"});
  form.FetchBlocks(1, 3, 1);
  EXPECT_EQ(Documents(), Receipts(1, 2));
  EXPECT_EQ(UndeliveredLines(form.outcome), Lines{"receipt 3: lost: no reply"});
  form.FetchBlocks(5, 8, 1);
  EXPECT_EQ(Documents(), Receipts(5, 8));
  EXPECT_TRUE(UndeliveredLines(form.outcome).empty());
  form.FetchBlocks(1, 3, 1);
  EXPECT_EQ(Documents(), Receipts(3, 3)) << "in step again: only the one left out is added";
}

}  // namespace
}  // namespace morvek
