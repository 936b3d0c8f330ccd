// The simulated register's answers to the tool's commands, read back with the tests' own reading of
// the reply frames.
#include "sim/register.h"

#include <gtest/gtest.h>

#include "codec/base64.h"
#include "codec/crc16.h"
#include "sim/journal_generator.h"
#include "sim/sim_test_support.h"

namespace morvek::sim {
namespace {

using test::ReadReply;
using test::ReadReplyFrame;
using test::SplitText;

const Journal& SmallJournal() {
  static const Journal journal = [] {
    JournalOptions options;
    options.receipts = 12;
    options.zReports = 2;
    options.seed = 7;
    return Journal::FromText(GenerateJournal(options).xml);
  }();
  return journal;
}

class SimRegisterTest : public ::testing::Test {
 protected:
  ReadReply Ask(std::uint8_t command, const std::string& data) {
    Register device(config_, SmallJournal(), log_);
    const Output output = device.OnFrame(Request{0x2A, command, data}, ++request_);
    EXPECT_EQ(output.pieces.size(), 1u);
    if (output.pieces.empty()) return {};
    const ReadReply reply = ReadReplyFrame(output.pieces[0], Zelmar());
    EXPECT_TRUE(reply.ok) << "reply frame broken";
    EXPECT_EQ(reply.sequence, 0x2A);
    return reply;
  }
  bool Zelmar() const { return config_.protocol == Protocol::kZelmar; }
  // The document as the tool assembles it: every fragment decoded on its own, until the end.
  std::string Fetch(int type, int number, int* fragmentsOut = nullptr) {
    std::string text;
    for (int f = 0; f < 1000; ++f) {
      const std::string params =
          Zelmar() ? "582941;" + std::to_string(type) + ";" + std::to_string(number) + ";" +
                         std::to_string(f) + ";"
                   : std::to_string(type) + "," + std::to_string(number) + "," + std::to_string(f);
      const ReadReply reply = Ask(0xA7, params);
      const auto parts = SplitText(reply.data, Zelmar() ? ';' : ',');
      if (reply.status != (Zelmar() ? "0000" : "") || parts.size() != 2 || parts[0] == "0" ||
          parts[0] == "-1") {
        if (fragmentsOut) *fragmentsOut = f;
        return text;
      }
      text += Base64Decode(parts[1]);
    }
    ADD_FAILURE() << "the document never ended";
    return text;
  }

  RegisterConfig config_;
  SimLog log_{nullptr};
  int request_ = 0;
};

TEST_F(SimRegisterTest, ZelmarDiagnosticsGiveElevenParametersWithTheFirmwareDateFourth) {
  config_.firmware = "Dec  4 2015";
  const ReadReply reply = Ask(0x80, "582941;");
  EXPECT_EQ(reply.status, "0000");
  const auto params = SplitText(reply.data, ';');
  ASSERT_EQ(params.size(), 11u);
  EXPECT_EQ(params[3], "Dec  4 2015");
}

TEST_F(SimRegisterTest, DatecsDiagnosticsGiveEightParametersOnceSpacesSeparate) {
  config_.protocol = Protocol::kDatecs;
  for (const auto& [firmware, written] :
       {std::pair{"Dec  4 2015", "4Dec15"}, std::pair{"Jan 12 2016", "12Jan16"}}) {
    config_.firmware = firmware;
    std::string data = Ask(0x5A, "0").data;
    for (std::size_t i = 0; i < 20 && i < data.size(); ++i)
      if (data[i] == ' ') data[i] = ',';
    EXPECT_EQ(data.find(' '), std::string::npos) << "a space beyond the 20th character";
    const auto params = SplitText(data, ',');
    ASSERT_EQ(params.size(), 8u) << data;
    EXPECT_EQ(params[1], written);
  }
}

TEST_F(SimRegisterTest, FragmentsOfAReceiptDecodeToItsJournalText) {
  for (const Protocol protocol : {Protocol::kZelmar, Protocol::kDatecs}) {
    config_.protocol = protocol;
    for (int size : {4, 7, 200}) {
      config_.fragmentSize = size;
      int fragments = 0;
      const JournalDocument* document = SmallJournal().Find(DocumentKind::kReceipt, 3);
      ASSERT_NE(document, nullptr);
      EXPECT_EQ(Fetch(1, 3, &fragments), SmallJournal().Text(*document)) << size;
      EXPECT_GT(fragments, 1);
    }
  }
}

TEST_F(SimRegisterTest, ZReportsAreFoundByTheirOwnNumbers) {
  const JournalDocument* document = SmallJournal().Find(DocumentKind::kZReport, 1);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(Fetch(0, 1), SmallJournal().Text(*document));
}

TEST_F(SimRegisterTest, DocumentsEndInBothWaysTheToolKnows) {
  for (const Protocol protocol : {Protocol::kZelmar, Protocol::kDatecs}) {
    config_.protocol = protocol;
    const char separator = Zelmar() ? ';' : ',';
    std::vector<std::size_t> counts;
    for (int number : {3, 4}) {
      int fragments = 0;
      Fetch(1, number, &fragments);
      const std::string params =
          Zelmar() ? "1;1;" + std::to_string(number) + ";" + std::to_string(fragments) + ";"
                   : "1," + std::to_string(number) + "," + std::to_string(fragments);
      counts.push_back(SplitText(Ask(0xA7, params).data, separator).size());
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 2}));
  }
}

TEST_F(SimRegisterTest, UnknownNumberIsAnErrorForZelmarAndAnEndForDatecs) {
  const ReadReply zelmar = Ask(0xA7, "582941;1;9999;0;");
  EXPECT_EQ(zelmar.status, kStatusNoDocument);
  config_.protocol = Protocol::kDatecs;
  const ReadReply datecs = Ask(0xA7, "1,9999,0");
  EXPECT_EQ(datecs.data, "-1,0");
}

TEST_F(SimRegisterTest, DateIntervalGivesTheFirstAndLastReceiptStampedInIt) {
  const Journal& journal = SmallJournal();
  const JournalDocument* third = journal.Find(DocumentKind::kReceipt, 3);
  const JournalDocument* fifth = journal.Find(DocumentKind::kReceipt, 5);
  ASSERT_TRUE(third && fifth);
  // yyyymmddhhmmss to DDMMYY and HHMM.
  auto date = [](std::int64_t s) {
    const std::string t = std::to_string(s);
    return t.substr(6, 2) + t.substr(4, 2) + t.substr(2, 2);
  };
  auto time = [](std::int64_t s) { return std::to_string(s).substr(8, 4); };
  const std::string interval = date(third->stamp) + ";" + time(third->stamp) + ";" +
                               date(fifth->stamp) + ";" + time(fifth->stamp) + ";0;";
  const ReadReply reply = Ask(0xEE, "582941;" + interval);
  EXPECT_EQ(reply.status, "0000");
  EXPECT_EQ(reply.data, "3;5");
  EXPECT_EQ(Ask(0xEE, "582941;010101;0000;020101;0000;0;").status, kStatusNoDocumentsInInterval);
}

TEST_F(SimRegisterTest, StampsWithoutSecondsCountForTheDateInterval) {
  const Journal journal = Journal::FromText(
      "<RQ V=\"1\"><DAT><C><E NO=\"8\"/></C><TS>201603051407</TS></DAT>"
      "<DAT><C><E NO=\"9\"/></C><TS>20160305151500</TS></DAT></RQ>");
  Register device(config_, journal, log_);
  const ReadReply reply = ReadReplyFrame(
      device.OnFrame(Request{0x21, 0xEE, "582941;050316;1400;050316;1600;0;"}, 1).pieces.at(0),
      true);
  EXPECT_EQ(reply.status, "0000");
  EXPECT_EQ(reply.data, "8;9");
}

TEST_F(SimRegisterTest, FragmentSizeOutsideItsRangeStillEndsTheDocument) {
  config_.fragmentSize = 0;
  const JournalDocument* document = SmallJournal().Find(DocumentKind::kReceipt, 2);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(Fetch(1, 2), SmallJournal().Text(*document));
}

TEST_F(SimRegisterTest, StatusFaultAnswersTheAcquirerCodeAtTheChosenRequest) {
  config_.faults = {*ParseFault("status@2")};
  EXPECT_EQ(Ask(0xEE, "582941;010101;0000;311299;2359;0;").status, "0000");
  EXPECT_EQ(Ask(0xEE, "582941;010101;0000;311299;2359;0;").status, "0CD0");
  EXPECT_EQ(Ask(0xEE, "582941;010101;0000;311299;2359;0;").status, "0000");
}

TEST_F(SimRegisterTest, UnknownCommandAndBadParametersAreRegisterErrors) {
  EXPECT_EQ(Ask(0x42, "582941;").status, kStatusUnknownCommand);
  EXPECT_EQ(Ask(0xA7, "582941;1;x;0;").status, kStatusSyntaxError);
  config_.protocol = Protocol::kDatecs;
  EXPECT_EQ(Ask(0x80, "").statusBytes[0] & 0x7F, 0x02);  // 80h is no Datecs command
}

TEST_F(SimRegisterTest, BrokenFrameIsAnsweredWithNak) {
  Register device(config_, SmallJournal(), log_);
  const Output output = device.OnBrokenFrame(1);
  ASSERT_EQ(output.pieces.size(), 1u);
  EXPECT_EQ(output.pieces[0], "\x15");
}

TEST_F(SimRegisterTest, ByteFaultsChangeOnlyTheRequestTheyAreSetFor) {
  config_.faults = {*ParseFault("seq@1"), *ParseFault("command@2"), *ParseFault("checksum@3"),
                    *ParseFault("params@4"), *ParseFault("syn@5=3")};
  Register device(config_, SmallJournal(), log_);
  const Request request{0x21, 0x80, "582941;"};
  EXPECT_EQ(ReadReplyFrame(device.OnFrame(request, 1).pieces[0], true).sequence, 0x22);
  EXPECT_EQ(ReadReplyFrame(device.OnFrame(request, 2).pieces[0], true).command, 0x81);
  EXPECT_FALSE(ReadReplyFrame(device.OnFrame(request, 3).pieces[0], true).ok);
  EXPECT_EQ(SplitText(ReadReplyFrame(device.OnFrame(request, 4).pieces[0], true).data, ';').size(),
            25u);
  EXPECT_EQ(device.OnFrame(request, 5).pieces[0].substr(0, 4), "\x16\x16\x16\x01");
  const ReadReply plain = ReadReplyFrame(device.OnFrame(request, 6).pieces[0], true);
  EXPECT_TRUE(plain.ok);
  EXPECT_EQ(plain.sequence, 0x21);
}

TEST_F(SimRegisterTest, DeliveryFaultsSplitDripSilenceAndClose) {
  config_.faults = {*ParseFault("split@1"), *ParseFault("drip@2"), *ParseFault("silent@3"),
                    *ParseFault("close@4")};
  Register device(config_, SmallJournal(), log_);
  const Request request{0x21, 0x80, "582941;"};
  const Output split = device.OnFrame(request, 1);
  EXPECT_EQ(split.pieces.size(), 3u);
  const Output drip = device.OnFrame(request, 2);
  EXPECT_GT(drip.pieces.size(), 20u);
  EXPECT_TRUE(device.OnFrame(request, 3).pieces.empty());
  const Output closed = device.OnFrame(request, 4);
  EXPECT_TRUE(closed.pieces.empty());
  EXPECT_TRUE(closed.close);
}

TEST_F(SimRegisterTest, ShortLengthFaultCountsLenOneShortAndTheChecksumOverIt) {
  // The value of a frame's four checksum digits.
  const auto digits = [](const std::string& frame) {
    unsigned value = 0;
    for (std::size_t i = frame.size() - 5; i + 1 < frame.size(); ++i)
      value = value * 16 + (static_cast<unsigned char>(frame[i]) - 0x30u);
    return value;
  };
  for (const Protocol protocol : {Protocol::kZelmar, Protocol::kDatecs}) {
    config_.protocol = protocol;
    config_.faults = {*ParseFault("shortlen@2")};
    Register device(config_, SmallJournal(), log_);
    const Request request{0x21, 0xA7, Zelmar() ? "582941;1;3;0;" : "1,3,0"};
    const std::string plain = device.OnFrame(request, 1).pieces.at(0);
    const std::string broken = device.OnFrame(request, 2).pieces.at(0);
    EXPECT_TRUE(ReadReplyFrame(plain, Zelmar()).ok);
    ASSERT_EQ(broken.size(), plain.size());
    EXPECT_EQ(static_cast<unsigned char>(broken[1]), static_cast<unsigned char>(plain[1]) - 1);
    EXPECT_EQ(broken.substr(2, broken.size() - 7), plain.substr(2, plain.size() - 7));
    EXPECT_EQ(digits(broken), digits(plain) - 1);
    EXPECT_EQ(device.OnFrame(request, 3).pieces.at(0), plain);
  }
}

TEST(SimFaults, EveryKindIsListedInTheHelpAndReadBackFromItsName) {
  const std::string help = FaultHelp();
  for (int k = 0; k <= static_cast<int>(FaultKind::kGone); ++k) {
    const auto kind = static_cast<FaultKind>(k);
    const std::string name(FaultName(kind));
    EXPECT_NE(help.find("\n  " + name + " "), std::string::npos) << name;
    const auto fault = ParseFault(name + "@7=X");
    ASSERT_TRUE(fault) << name;
    EXPECT_EQ(fault->kind, kind);
    EXPECT_EQ(fault->request, 7);
    EXPECT_EQ(fault->argument, "X");
  }
  EXPECT_FALSE(ParseFault("nak@0"));
  EXPECT_FALSE(ParseFault("hiccup@2"));
}

// Block transfer.

struct ReadBlock {
  bool magic = false, crcOk = false;
  std::uint8_t flags = 0;
  std::int32_t document = 0;
  std::string payload;
};

ReadBlock ReadReplyBlock(const std::string& block) {
  ReadBlock read;
  if (block.size() < 12) return read;
  auto byte = [&](std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(block[i]));
  };
  read.magic = byte(0) == 7 && byte(1) == 7;
  read.flags = static_cast<std::uint8_t>(byte(2));
  read.document = static_cast<std::int32_t>(byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24);
  const std::size_t length = byte(8) | byte(9) << 8;
  if (block.size() != length + 12) return read;
  read.payload = block.substr(10, length);
  read.crcOk = Crc16Modbus(read.payload) == (byte(10 + length) | byte(11 + length) << 8);
  return read;
}

std::string GiveDocuments(std::uint8_t type, std::int32_t first, std::int32_t last) {
  std::string payload(1, static_cast<char>(type));
  for (std::int32_t v : {first, last})
    for (int i = 0; i < 4; ++i)
      payload += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return payload;
}

TEST(SimBlock, ContinueBlockAndCrcCheckValueAreTheKnownBytes) {
  EXPECT_EQ(Crc16Modbus("123456789"), 0x4B37);
  EXPECT_EQ(BuildRequestBlock(kBlockContinue, test::Hex({0x02, 0x00})),
            test::Hex({0x07, 0x07, 0x21, 0x02, 0x00, 0x02, 0x00, 0x00, 0xD0}));
}

// Receipts 1 to count; receipt long is long enough to need three blocks.
std::string HandMadeJournal(int count, int longOne) {
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (int n = 1; n <= count; ++n) {
    const std::string comment(n == longOne ? 3000 : 10, 'x');
    text += "<DAT DI=\"" + std::to_string(n) + "\"><C T=\"0\"><L N=\"1\">" + comment +
            "</L><E N=\"2\" NO=\"" + std::to_string(n) +
            "\" SM=\"0\"/></C><TS>20151204120000</TS></DAT><MAC DI=\"" + std::to_string(n) +
            "\"/>\r\n";
  }
  return text + "</RQ>\r\n";
}

TEST(SimBlock, TransferCarriesEveryReceiptOfTheRangeWithinBlockLimits) {
  const Journal journal = Journal::FromText(HandMadeJournal(25, 7));
  RegisterConfig config;
  config.block = true;
  SimLog log(nullptr);
  Register device(config, journal, log);
  std::vector<std::string> documents;
  std::vector<std::int32_t> numbers;
  std::string open;
  int continued = 0;
  std::size_t texts = 0;
  Output output = device.OnBlock(kBlockGiveDocuments, GiveDocuments(1, 2, 20), true, 1);
  for (int request = 2; request < 1000; ++request) {
    ASSERT_EQ(output.pieces.size(), 1u);
    ASSERT_LE(output.pieces[0].size(), kMaxBlock);
    const ReadBlock block = ReadReplyBlock(output.pieces[0]);
    ASSERT_TRUE(block.magic && block.crcOk);
    ASSERT_FALSE(block.payload.empty());
    ASSERT_EQ(block.payload.back(), '\0');
    for (const std::string& text :
         SplitText(block.payload.substr(0, block.payload.size() - 1), '\0'))
      open += Base64Decode(text);
    texts += SplitText(block.payload, '\0').size() - 1;
    if (block.flags & kFlagContinued) {
      ++continued;
    } else {
      numbers.push_back(block.document);
      documents.push_back(std::exchange(open, {}));
    }
    if (block.flags & kFlagLastBlock) break;
    output = device.OnBlock(kBlockContinue, test::Hex({0x02, 0x00}), true, request);
  }
  ASSERT_EQ(documents.size(), 19u);
  for (int n = 2; n <= 20; ++n) {
    const auto i = static_cast<std::size_t>(n - 2);
    EXPECT_EQ(documents[i], journal.Text(*journal.Find(DocumentKind::kReceipt, n)));
    EXPECT_EQ(numbers[i], n);
  }
  EXPECT_EQ(continued, 2) << "receipt 7 takes three blocks";
  EXPECT_GT(texts, documents.size() + continued) << "some blocks hold two texts";
}

TEST(SimBlock, EmptyRangeIsOneLastBlock) {
  const Journal journal = Journal::FromText("<RQ V=\"1\"></RQ>");
  RegisterConfig config;
  SimLog log(nullptr);
  Register device(config, journal, log);
  const ReadBlock block = ReadReplyBlock(
      device.OnBlock(kBlockGiveDocuments, GiveDocuments(1, 1, 5), true, 1).pieces.at(0));
  EXPECT_TRUE(block.crcOk);
  EXPECT_EQ(block.flags, kFlagLastBlock);
  EXPECT_TRUE(block.payload.empty());
}

TEST(SimBlock, BlockFaultsBreakCrcMagicSizeAndAnswering) {
  const Journal journal = Journal::FromText(GenerateJournal(JournalOptions{}).xml);
  RegisterConfig config;
  config.faults = {*ParseFault("crc@1"), *ParseFault("nomagic@2"), *ParseFault("bigblock@3"),
                   *ParseFault("stop@4")};
  SimLog log(nullptr);
  Register device(config, journal, log);
  const std::string give = GiveDocuments(1, 1, 50);
  const ReadBlock badCrc =
      ReadReplyBlock(device.OnBlock(kBlockGiveDocuments, give, true, 1).pieces.at(0));
  EXPECT_TRUE(badCrc.magic);
  EXPECT_FALSE(badCrc.crcOk);
  EXPECT_FALSE(ReadReplyBlock(device.OnBlock(kBlockContinue, "\x02", true, 2).pieces.at(0)).magic);
  EXPECT_GT(device.OnBlock(kBlockContinue, "\x02", true, 3).pieces.at(0).size(), kMaxBlock);
  EXPECT_TRUE(device.OnBlock(kBlockContinue, "\x02", true, 4).pieces.empty());
  EXPECT_TRUE(device.OnBlock(kBlockContinue, "\x02", true, 5).pieces.empty());
}

TEST(SimBlock, FirmwareGateFollowsTheToolsRule) {
  EXPECT_TRUE(FirmwareAllowsBlocks("Dec  4 2015"));
  EXPECT_TRUE(FirmwareAllowsBlocks("Dec  5 2015"));
  EXPECT_TRUE(FirmwareAllowsBlocks("Jan  1 2016"));
  EXPECT_FALSE(FirmwareAllowsBlocks("Dec 04 2015"));
  EXPECT_FALSE(FirmwareAllowsBlocks("Nov 30 2015"));
  EXPECT_FALSE(FirmwareAllowsBlocks("Dec 31 2014"));
  EXPECT_EQ(DatecsFirmwareDate("Dec  4 2015"), "4Dec15");
  EXPECT_EQ(DatecsFirmwareDate("Dec 12 2015"), "12Dec15");
  EXPECT_EQ(DatecsFirmwareDate("12.12.2015"), "");
}

}  // namespace
}  // namespace morvek::sim
