// Decoding a parsed Zelmar reply into the result record: status word, parameters, bounds.
#include <gtest/gtest.h>

#include "codec/status_word.h"
#include "zelmar/transaction.h"

namespace morvek {
namespace {

using zelmar::ReplyParser;

ZelmarResult Split(const std::string& data) {
  ZelmarResult r;
  ZelmarSplitParams(data, r);
  return r;
}

TEST(ZelmarSplit, SemicolonsSeparateParametersAndATrailingOneIsDropped) {
  const ZelmarResult abc = Split("a;b;c");
  EXPECT_EQ(abc.paramCount, 3);
  EXPECT_EQ(abc.params[2], "c");
  const ZelmarResult ab = Split("a;b;");
  EXPECT_EQ(ab.paramCount, 2);
  EXPECT_EQ(ab.params[1], "b");
  const ZelmarResult empty = Split("a;;b");
  EXPECT_EQ(empty.paramCount, 3);
  EXPECT_EQ(empty.params[1], "");
  EXPECT_EQ(empty.params[2], "b");
  EXPECT_EQ(Split("whole").paramCount, 1);
  EXPECT_EQ(Split("whole").params[0], "whole");
}

TEST(ZelmarSplit, EmptyDataLeavesCountAndSlotsAsTheyWere) {
  ZelmarResult r = Split("x;y");
  r.paramCount = 0;
  ZelmarSplitParams("", r);
  EXPECT_EQ(r.paramCount, 0);
  EXPECT_EQ(r.params[1], "y");
}

TEST(ZelmarSplit, MoreThanTwentyParametersLeaveTheRestUnsplitInSlot19) {
  std::string data;
  for (int i = 0; i < 25; ++i) data += std::to_string(i) + ";";
  const ZelmarResult r = Split(data);
  EXPECT_EQ(r.paramCount, 20);
  EXPECT_EQ(r.params[18], "18");
  EXPECT_EQ(r.params[19], "19;20;21;22;23;24");
}

TEST(ZelmarStatusWord, EachStatusBitMapsToItsFlag) {
  struct Case {
    int byte, bit, flag;
  };
  const Case cases[] = {{0, 0, 0},  {0, 1, 1},  {0, 2, 2},  {0, 4, 3},  {0, 5, 27},
                        {1, 0, 4},  {1, 1, 5},  {1, 2, 6},  {1, 3, 7},  {1, 4, 8},
                        {1, 5, 12}, {2, 0, 9},  {2, 3, 10}, {2, 5, 11}, {4, 0, 16},
                        {4, 2, 13}, {4, 3, 20}, {4, 4, 17}, {4, 5, 28}, {5, 0, 18},
                        {5, 1, 21}, {5, 2, 19}, {5, 3, 22}, {5, 4, 23}, {5, 5, 14}};
  for (const Case& c : cases) {
    std::array<std::uint8_t, 6> s{};
    s[static_cast<std::size_t>(c.byte)] = static_cast<std::uint8_t>(1 << c.bit);
    EXPECT_EQ(StatusWordFlags(s), 1u << c.flag) << c.byte << "." << c.bit;
  }
}

TEST(ZelmarStatusWord, UnmappedBitsAndS3SetNothing) {
  std::array<std::uint8_t, 6> s{0xC8, 0xC0, 0xD6, 0xFF, 0xC2, 0xC0};
  EXPECT_EQ(StatusWordFlags(s), 0u);
}

ReplyParser Complete() {
  ReplyParser p;
  p.replyOk = true;
  p.checksumRead = true;
  p.sum = p.checksumValue = 0x123;
  p.statusText = "0000";
  p.statusRaw = {0x81, 0x80, 0x80, 0x80, 0x80, 0x80};
  return p;
}

TEST(ZelmarDecode, CompleteReplyMapsItsStatusBytesMasked) {
  ZelmarResult r;
  DecodeZelmarReply(Complete(), r);
  EXPECT_EQ(r.statusFlags, 1u);
  EXPECT_EQ(r.statusBytes[0], 0x01);
  EXPECT_EQ(r.statusCode, "0000");
}

TEST(ZelmarDecode, NoReplyNakAndChecksumExcludeEachOtherAndTheStatusBits) {
  ZelmarResult r;
  ReplyParser p = Complete();
  p.replyOk = false;
  p.nakSeen = true;
  DecodeZelmarReply(p, r);
  EXPECT_EQ(r.statusFlags, ZelmarResult::kNoReply);
  p = Complete();
  p.nakSeen = true;
  p.sum = 1;
  DecodeZelmarReply(p, r);
  EXPECT_EQ(r.statusFlags, ZelmarResult::kNak);
  p = Complete();
  p.sum = 1;
  DecodeZelmarReply(p, r);
  EXPECT_EQ(r.statusFlags, ZelmarResult::kChecksumError);
}

TEST(ZelmarDecode, DataCopyAndStatusCodeKeepWhatFitsTheirFields) {
  ZelmarResult r;
  ReplyParser p = Complete();
  p.data = std::string(207, 'd');
  p.statusText = std::string(19, 's');
  DecodeZelmarReply(p, r);
  EXPECT_EQ(r.dataCopy, std::string(ZelmarResult::kMaxDataCopy, 'd'));
  EXPECT_EQ(r.statusCode.size(), 19u);
  EXPECT_EQ(r.paramCount, 1);
  EXPECT_EQ(r.params[0].size(), 207u);
}

}  // namespace
}  // namespace morvek
