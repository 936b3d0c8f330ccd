// The register's side of the frames: request frames read byte by byte, replies built byte for byte.
#include "sim/frames.h"

#include <gtest/gtest.h>

#include "sim/sim_test_support.h"

namespace morvek::sim {
namespace {

using test::Hex;

RequestParser::Event FeedAll(RequestParser& parser, std::string_view bytes) {
  RequestParser::Event last = RequestParser::Event::kNone;
  for (char c : bytes) {
    const auto event = parser.Feed(static_cast<std::uint8_t>(c));
    if (event != RequestParser::Event::kNone) last = event;
  }
  return last;
}

const std::string kZelmarRequest =
    Hex({0x01, 0x27, 0x21, 0x80, 0x61, 0x62, 0x63, 0x05, 0x30, 0x31, 0x3F, 0x33, 0x03});
const std::string kDatecsRequest =
    Hex({0x01, 0x29, 0x21, 0xA7, 0x31, 0x2C, 0x35, 0x2C, 0x30, 0x05, 0x30, 0x31, 0x3E, 0x34, 0x03});

TEST(SimRequestFrame, ZelmarDiagnosticsRequestIsReadWithItsSequenceAndData) {
  RequestParser parser;
  ASSERT_EQ(FeedAll(parser, kZelmarRequest), RequestParser::Event::kFrame);
  EXPECT_EQ(parser.request().sequence, 0x21);
  EXPECT_EQ(parser.request().command, 0x80);
  EXPECT_EQ(parser.request().data, "abc");
  EXPECT_TRUE(parser.Idle());
}

TEST(SimRequestFrame, DatecsDocumentRequestIsReadWithItsParameters) {
  RequestParser parser;
  ASSERT_EQ(FeedAll(parser, kDatecsRequest), RequestParser::Event::kFrame);
  EXPECT_EQ(parser.request().command, 0xA7);
  EXPECT_EQ(parser.request().data, "1,5,0");
}

TEST(SimRequestFrame, BytesBeforeTheStartAreIgnored) {
  RequestParser parser;
  EXPECT_EQ(FeedAll(parser, "\x16\x7Fxyz" + kZelmarRequest), RequestParser::Event::kFrame);
}

TEST(SimRequestFrame, EveryCorruptedByteMakesTheFrameBroken) {
  // Any single wrong byte from LEN to ETX must be noticed (SOH is a restart, not a corruption).
  for (std::size_t at = 1; at < kDatecsRequest.size(); ++at) {
    std::string frame = kDatecsRequest;
    frame[at] = static_cast<char>(frame[at] ^ 0x08);
    RequestParser parser;
    EXPECT_EQ(FeedAll(parser, frame), RequestParser::Event::kBroken) << "byte " << at;
  }
}

TEST(SimRequestFrame, AStartInsideAFrameBeginsANewOne) {
  RequestParser parser;
  EXPECT_EQ(FeedAll(parser, kZelmarRequest.substr(0, 6) + kDatecsRequest),
            RequestParser::Event::kFrame);
  EXPECT_EQ(parser.request().data, "1,5,0");
}

TEST(SimRequestFrame, BuiltRequestsMatchTheToolsFrames) {
  EXPECT_EQ(BuildRequestFrame(0x21, 0x80, "abc"), kZelmarRequest);
  EXPECT_EQ(BuildRequestFrame(0x21, 0xA7, "1,5,0"), kDatecsRequest);
}

TEST(SimReplyFrame, ZelmarReplyCarriesStatusTextDataAndChecksumDigits) {
  const std::string expected =
      Hex({0x01, 0x33, 0x21, 0x80, 0x30, 0x30, 0x30, 0x30, 0x3B, 0x78, 0x3B, 0x79, 0x04,
           0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x05, 0x30, 0x36, 0x30, 0x34, 0x03});
  EXPECT_EQ(BuildZelmarReply(0x21, 0x80, "0000", "x;y", kStatusClear), expected);
}

TEST(SimReplyFrame, DatecsReplyCountsDataStatusAndPostambleInItsLength) {
  const std::string expected =
      Hex({0x01, 0x31, 0x21, 0xA7, 0x31, 0x2C, 0x51, 0x55, 0x4A, 0x44, 0x04, 0x80,
           0x80, 0x80, 0x80, 0x80, 0x80, 0x05, 0x30, 0x35, 0x39, 0x33, 0x03});
  EXPECT_EQ(BuildDatecsReply(0x21, 0xA7, "1,QUJD", kStatusClear), expected);
}

TEST(SimReplyFrame, ReplyWithoutDataHasTheSmallestLength) {
  const std::string zelmar = BuildZelmarReply(0x25, 0xEB, "0000", "", kStatusClear);
  EXPECT_EQ(zelmar[1], 0x30);
  EXPECT_EQ(zelmar[2], 0x25);  // the SEQ of the request answered
  EXPECT_EQ(zelmar[9], 0x04);  // straight from ';' to EOT
  const std::string datecs = BuildDatecsReply(0x7E, 0x5A, "", kStatusClear);
  EXPECT_EQ(datecs[1], 0x2B);
  EXPECT_EQ(datecs[2], 0x7E);
  EXPECT_EQ(datecs[4], 0x04);
}

TEST(SimReplyFrame, ChecksumNibblesAboveNineAreColonToQuestionMark) {
  std::string frame;
  AppendChecksumDigits(frame, 0x1ABCF);  // only the 16 low bits count
  EXPECT_EQ(frame, ":;<?");
  frame.clear();
  AppendChecksumDigits(frame, 0x0605);
  EXPECT_EQ(frame, "0605");
}

}  // namespace
}  // namespace morvek::sim
