// Zelmar frames: the request bytes, the checksum digits, the sequence byte, the reply parser.
#include "zelmar/frame.h"

#include <gtest/gtest.h>

#include <string>

#include "codec/checksum_digits.h"

namespace morvek::zelmar {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// The reply of the worked example: command 80h, "0000", data 78 3B 79, six status bytes 80h.
const std::string kExampleReply =
    Bytes({0x01, 0x33, 0x21, 0x80, 0x30, 0x30, 0x30, 0x30, 0x3B, 0x78, 0x3B, 0x79, 0x04,
           0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x05, 0x30, 0x36, 0x30, 0x34, 0x03});

void Feed(ReplyParser& p, const std::string& bytes) {
  for (char c : bytes) FeedByte(p, static_cast<std::uint8_t>(c));
}

TEST(ZelmarRequest, FirstFrameOfARunMatchesTheWorkedExample) {
  std::uint8_t counter = 0;
  EXPECT_EQ(BuildRequest(counter, 0x80, "abc"),
            Bytes({0x01, 0x27, 0x21, 0x80, 0x61, 0x62, 0x63, 0x05, 0x30, 0x31, 0x3F, 0x33, 0x03}));
  EXPECT_EQ(counter, 1);
}

TEST(ZelmarRequest, ChecksumNibblesAboveNineAreColonToQuestionMark) {
  EXPECT_EQ(ChecksumDigits(0xABCD), ":;<=");
  EXPECT_EQ(ChecksumDigits(0x1EF0), "1>?0");
  EXPECT_EQ(ChecksumDigits(0x12345), "2345");  // the low 16 bits only
}

TEST(ZelmarRequest, SequenceByteWrapsAtNinetyFiveAndTheCounterAt256) {
  std::uint8_t counter = 99;
  EXPECT_EQ(static_cast<std::uint8_t>(BuildRequest(counter, 0x80, "")[2]), 0x25);
  counter = 254;
  EXPECT_EQ(static_cast<std::uint8_t>(BuildRequest(counter, 0x80, "")[2]), 0x20 + 255 % 95);
  EXPECT_EQ(static_cast<std::uint8_t>(BuildRequest(counter, 0x80, "")[2]), 0x20);
  EXPECT_EQ(counter, 0);
}

TEST(ZelmarRequest, DataIsCutAt219BytesSoThatLenFitsInOneByte) {
  std::uint8_t counter = 0;
  const std::string frame = BuildRequest(counter, 0xA7, std::string(500, '7'));
  ASSERT_EQ(frame.size(), 219u + 10);
  EXPECT_EQ(static_cast<std::uint8_t>(frame[1]), 0x20 + 219 + 4);
  EXPECT_EQ(frame[4 + 219], '\x05');
  EXPECT_EQ(frame.back(), '\x03');
}

TEST(ZelmarReplyParser, WorkedExampleParsesWithMatchingSum) {
  ReplyParser p;
  Feed(p, kExampleReply);
  EXPECT_EQ(p.dataLength, 3);
  EXPECT_EQ(p.replySequence, 1);
  EXPECT_EQ(p.replyCommand, 0x80);
  EXPECT_EQ(p.statusText, "0000");
  EXPECT_EQ(p.data, "x;y");
  EXPECT_EQ(p.statusRaw[5], 0x80);
  EXPECT_EQ(p.sum, 0x0604u);
  EXPECT_EQ(p.checksumValue, 0x0604u);
  EXPECT_TRUE(p.frameComplete);
  EXPECT_TRUE(p.replyOk);
  EXPECT_FALSE(p.nakSeen);
  EXPECT_EQ(p.rawReply, kExampleReply);
  EXPECT_EQ(p.state, ReplyState::kIdle);
}

TEST(ZelmarReplyParser, ReplyWithoutDataGoesFromStatusTextToEot) {
  ReplyParser p;
  std::string reply = kExampleReply;
  reply.replace(9, 3, "");  // drop the data
  reply[1] = 0x30;
  Feed(p, reply);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.data, "");
  EXPECT_EQ(p.statusRaw[0], 0x80);
}

TEST(ZelmarReplyParser, SynBeforeTheFrameIsCountedAndKeptOutOfTheRawReply) {
  ReplyParser p;
  Feed(p, "\x16\x16\x16" + kExampleReply);
  EXPECT_EQ(p.synCount, 3);
  EXPECT_EQ(p.rawReply, kExampleReply);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.sum, p.checksumValue);
}

TEST(ZelmarReplyParser, SynInsideAFrameIsTakenAsAByteOfTheField) {
  ReplyParser p;
  std::string reply = kExampleReply;
  reply.insert(5, "\x16");  // inside the status text
  Feed(p, reply);
  EXPECT_EQ(p.synCount, 1);
  EXPECT_EQ(p.statusText,
            "0\x16"
            "000");
  EXPECT_EQ(p.rawReply, kExampleReply);
}

TEST(ZelmarReplyParser, SohInTheMiddleRestartsAndEarlierBytesStayInTheRawReply) {
  ReplyParser p;
  const std::string broken = kExampleReply.substr(0, 10);
  Feed(p, broken + kExampleReply);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.data, "x;y");
  EXPECT_EQ(p.sum, p.checksumValue);
  EXPECT_EQ(p.rawReply, broken + kExampleReply);
}

TEST(ZelmarReplyParser, EarlyEtxCompletesTheFrameWithReplyOk) {
  ReplyParser p;
  Feed(p, kExampleReply.substr(0, 12) + "\x03");
  EXPECT_TRUE(p.frameComplete);
  EXPECT_TRUE(p.replyOk);
  EXPECT_NE(p.sum, p.checksumValue);
}

TEST(ZelmarReplyParser, EtxBetweenFramesCompletesNothing) {
  ReplyParser p;
  Feed(p, "\x03");
  EXPECT_FALSE(p.frameComplete);
  EXPECT_FALSE(p.replyOk);
  EXPECT_EQ(p.rawReply, "\x03");
}

TEST(ZelmarReplyParser, StrayEtxBeforeAnySohIsDroppedAndTheReplyAfterItParses) {
  ReplyParser p;
  Feed(p, kExampleReply.substr(0, 10));  // the previous exchange left a frame half read
  ResetParser(p);
  Feed(p, "\x03");
  EXPECT_FALSE(p.frameComplete);
  EXPECT_FALSE(p.replyOk);
  Feed(p, kExampleReply);
  EXPECT_TRUE(p.replyOk);
  EXPECT_TRUE(p.checksumRead);
  EXPECT_EQ(p.data, "x;y");
  EXPECT_EQ(p.rawReply, "\x03" + kExampleReply);
}

TEST(ZelmarReplyParser, ByteOtherThanEtxAfterTheDigitsCompletesWithoutReplyOk) {
  ReplyParser p;
  std::string reply = kExampleReply;
  reply.back() = 'Z';
  Feed(p, reply);
  EXPECT_TRUE(p.frameComplete);
  EXPECT_FALSE(p.replyOk);
}

TEST(ZelmarReplyParser, NakEndsTheWaitAndMarksNak) {
  ReplyParser p;
  Feed(p, "\x15");
  EXPECT_TRUE(p.nakSeen);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.rawReply, "\x15");
}

TEST(ZelmarReplyParser, ControlBytesInsideFieldsActAsSohEtxNak) {
  ReplyParser p;
  std::string reply = kExampleReply;
  reply[10] = 0x15;  // NAK inside the data
  Feed(p, reply.substr(0, 11));
  EXPECT_TRUE(p.nakSeen);
  EXPECT_EQ(p.state, ReplyState::kIdle);
}

TEST(ZelmarReplyParser, MalformedLengthOrMissingEotOrEnqFallsBackToIdle) {
  for (const std::size_t at : {1u, 12u, 19u}) {
    ReplyParser p;
    std::string reply = kExampleReply;
    reply[at] = at == 1 ? 0x2F : 'q';
    Feed(p, reply.substr(0, at + 1));
    EXPECT_EQ(p.state, ReplyState::kIdle) << at;
  }
}

TEST(ZelmarReplyParser, OverlongStatusTextAndRawReplyKeepWhatFitsWhileTheSumSeesEveryByte) {
  ReplyParser p;
  std::string status(40, 'E');
  std::string reply = "\x01\x30\x21\x80" + status + ";\x04" + std::string(6, '\x80') + "\x05";
  unsigned sum = 0;
  for (std::size_t i = 1; i < reply.size(); ++i) sum += static_cast<unsigned char>(reply[i]);
  Feed(p, reply);
  EXPECT_EQ(p.statusText, std::string(19, 'E'));
  EXPECT_EQ(p.sum, sum);
  Feed(p, std::string(400, 'g'));
  EXPECT_EQ(p.rawReply.size(), kMaxRawReply);
}

TEST(ZelmarReplyParser, ResetClearsTheExchangeButNotTheStatusText) {
  ReplyParser p;
  Feed(p, "\x16" + kExampleReply);
  ResetParser(p);
  EXPECT_FALSE(p.replyOk);
  EXPECT_EQ(p.synCount, 0);
  EXPECT_EQ(p.rawReply, "");
  EXPECT_EQ(p.data, "");
  EXPECT_EQ(p.statusText, "0000");
}

}  // namespace
}  // namespace morvek::zelmar
