// The Datecs codec held to the frames the register and the driver exchange.
#include "datecs/frame.h"

#include <gtest/gtest.h>

#include "datecs/driver_fixture.h"

namespace morvek::test {
namespace {

using namespace datecs;

ReplyParser Parse(const std::string& bytes) {
  ReplyParser p;
  ResetParser(p);
  for (char c : bytes) FeedByte(p, static_cast<std::uint8_t>(c));
  return p;
}

TEST(DatecsFrame, FirstRequestOfTheRunCarriesSeq21AndTheExampleChecksum) {
  std::uint8_t counter = 0;
  EXPECT_EQ(BuildRequest(counter, 0xA7, "1,5,0"),
            FrameBytes({0x01, 0x29, 0x21, 0xA7, 0x31, 0x2C, 0x35, 0x2C, 0x30, 0x05, 0x30, 0x31,
                        0x3E, 0x34, 0x03}));
  EXPECT_EQ(counter, 1);
}

TEST(DatecsFrame, SequenceWrapsAt95AndCounterAt256) {
  std::uint8_t counter = 99;
  EXPECT_EQ(BuildRequest(counter, 0x5A, "0")[2], '\x25');  // counter 100
  counter = 94;
  EXPECT_EQ(BuildRequest(counter, 0x5A, "0")[2], '\x20');  // counter 95
  counter = 255;
  EXPECT_EQ(BuildRequest(counter, 0x5A, "0")[2], '\x20');
  EXPECT_EQ(counter, 0);
}

TEST(DatecsFrame, RequestDataIsCutSoThatLenFitsOneByte) {
  std::uint8_t counter = 0;
  const std::string frame = BuildRequest(counter, 0xEE, std::string(400, '7'));
  ASSERT_EQ(frame.size(), 219u + 10);
  EXPECT_EQ(static_cast<std::uint8_t>(frame[1]), 0xFF);
  EXPECT_EQ(frame.back(), '\x03');
}

TEST(DatecsParser, ParsesTheExampleReply) {
  const ReplyParser p =
      Parse(FrameBytes({0x01, 0x31, 0x21, 0xA7, 0x31, 0x2C, 0x51, 0x55, 0x4A, 0x44, 0x04, 0x80,
                        0x80, 0x80, 0x80, 0x80, 0x80, 0x05, 0x30, 0x35, 0x39, 0x33, 0x03}));
  EXPECT_EQ(p.dataLength, 6);
  EXPECT_EQ(p.replySequence, 1);
  EXPECT_EQ(p.replyCommand, 0xA7);
  EXPECT_EQ(p.data, "1,QUJD");
  EXPECT_EQ(p.sum, 0x0593u);
  EXPECT_EQ(p.checksumValue, 0x0593u);
  EXPECT_TRUE(p.frameComplete);
  EXPECT_TRUE(p.replyOk);
  EXPECT_FALSE(p.nakSeen);
}

TEST(DatecsParser, ReplyWithoutDataGoesStraightToTheSeparator) {
  const ReplyParser p = Parse(DatecsReply(0x21, 0x5A, ""));
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.data, "");
  EXPECT_EQ(p.sum, p.checksumValue);
}

TEST(DatecsParser, SynBeforeTheFrameIsCountedAndKeptOutOfRawReply) {
  const std::string reply = DatecsReply(0x22, 0xA7, "0");
  const ReplyParser p = Parse("\x16\x16\x16" + reply);
  EXPECT_EQ(p.synCount, 3u);
  EXPECT_EQ(p.rawReply, reply);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.sum, p.checksumValue);
}

TEST(DatecsParser, SynInsideAFieldIsTakenAsAByteOfIt) {
  std::string reply = DatecsReply(0x22, 0xA7, "ab");
  reply.insert(5, "\x16");  // after 'a': the SYN becomes the second data byte
  const ReplyParser p = Parse(reply);
  EXPECT_EQ(p.data, "a\x16");
  EXPECT_FALSE(p.checksumRead);  // 'b' is no EOT: the parse fell back to idle
}

TEST(DatecsParser, SohInsideAFrameRestartsTheParseAndKeepsTheEarlierBytes) {
  const std::string reply = DatecsReply(0x23, 0xA7, "1,AA");
  const ReplyParser p = Parse(reply.substr(0, 6) + reply);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.data, "1,AA");
  EXPECT_EQ(p.sum, p.checksumValue);
  EXPECT_EQ(p.rawReply, reply.substr(0, 6) + reply);
}

TEST(DatecsParser, EtxBeforeTheDigitsEndsTheFrameWithAWrongChecksum) {
  const std::string reply = DatecsReply(0x23, 0xA7, "1");
  const ReplyParser p = Parse(reply.substr(0, 12) + "\x03");
  EXPECT_TRUE(p.frameComplete);
  EXPECT_TRUE(p.replyOk);
  EXPECT_NE(p.sum, p.checksumValue);
}

TEST(DatecsParser, AByteOtherThanEtxAfterTheDigitsLeavesTheReplyNotOk) {
  std::string reply = DatecsReply(0x23, 0xA7, "1");
  reply.back() = 'X';
  const ReplyParser p = Parse(reply);
  EXPECT_TRUE(p.frameComplete);
  EXPECT_FALSE(p.replyOk);
}

TEST(DatecsParser, NakEndsTheReplyAtOnce) {
  const ReplyParser p = Parse("\x16\x15");
  EXPECT_TRUE(p.nakSeen);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.state, ReplyState::kIdle);
}

TEST(DatecsParser, MisfitBytesSendTheParseBackToIdle) {
  EXPECT_FALSE(Parse(FrameBytes({0x01, 0x2A})).replyOk);  // LEN below 2Bh
  ReplyParser p = Parse(FrameBytes({0x01, 0x2B, 0x1F}));  // SEQ below 20h
  EXPECT_EQ(p.state, ReplyState::kIdle);
  p = Parse(FrameBytes({0x01, 0x2C, 0x21, 0xA7, 'x', 'y'}));  // no EOT after the data
  EXPECT_EQ(p.state, ReplyState::kIdle);
}

TEST(DatecsParser, RawReplyKeepsWhatFitsWhileTheParserSeesEveryByte) {
  const std::string reply = DatecsReply(0x24, 0xA7, "1,QUJD");
  const ReplyParser p = Parse(std::string(400, 'x') + reply);
  EXPECT_EQ(p.rawReply.size(), kRawReplyBytes);
  EXPECT_TRUE(p.replyOk);
  EXPECT_EQ(p.data, "1,QUJD");
}

}  // namespace
}  // namespace morvek::test
