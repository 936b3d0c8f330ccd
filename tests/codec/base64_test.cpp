// Decoding of the Base64 texts the register sends its documents in.
#include "codec/base64.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace morvek {
namespace {

using test::W;

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  std::string text;
  for (unsigned char b : bytes) text += static_cast<char>(b);
  return text;
}

TEST(Base64Decode, CompleteGroupsGiveThreeBytesEach) {
  EXPECT_EQ(Base64Decode("TWFu"), "Man");
  EXPECT_EQ(Base64Decode("TWFuTWFu"), "ManMan");
}

TEST(Base64Decode, WholeAlphabetInOrderDecodesToTheKnownBytes) {
  const std::string expected =
      Bytes({0x00, 0x10, 0x83, 0x10, 0x51, 0x87, 0x20, 0x92, 0x8b, 0x30, 0xd3, 0x8f,
             0x41, 0x14, 0x93, 0x51, 0x55, 0x97, 0x61, 0x96, 0x9b, 0x71, 0xd7, 0x9f,
             0x82, 0x18, 0xa3, 0x92, 0x59, 0xa7, 0xa2, 0x9a, 0xab, 0xb2, 0xdb, 0xaf,
             0xc3, 0x1c, 0xb3, 0xd3, 0x5d, 0xb7, 0xe3, 0x9e, 0xbb, 0xf3, 0xdf, 0xbf});
  EXPECT_EQ(Base64Decode("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
            expected);
}

TEST(Base64Decode, Windows1251TextComesBackAsItsBytes) {
  EXPECT_EQ(Base64Decode("1euz4Q=="), W("Хліб"));
  EXPECT_EQ(Base64Decode("1+XqILkgNQ=="), W("Чек № 5"));
}

TEST(Base64Decode, LastGroupOfKCharactersGivesKMinusOneBytes) {
  EXPECT_EQ(Base64Decode("TWE"), "Ma");     // 3 characters: 2 bytes
  EXPECT_EQ(Base64Decode("TQ"), "M");       // 2 characters: 1 byte
  EXPECT_EQ(Base64Decode("TWFuT"), "Man");  // 1 character: nothing
  EXPECT_EQ(Base64Decode("T"), "");
}

TEST(Base64Decode, StopsAtTheFirstEqualsSignAndIgnoresTheRest) {
  EXPECT_EQ(Base64Decode("TWE="), "Ma");
  EXPECT_EQ(Base64Decode("TQ=="), "M");
  EXPECT_EQ(Base64Decode("TQ==TWFu"), "M");
  EXPECT_EQ(Base64Decode("=TWFu"), "");
}

TEST(Base64Decode, LineBreakEndsTheDecoding) {
  EXPECT_EQ(Base64Decode("TWFu\r\nTWFu"), "Man");
  EXPECT_EQ(Base64Decode("TWFu\nTWFu"), "Man");
  EXPECT_EQ(Base64Decode("TW\nFu"), "M");
}

TEST(Base64Decode, CharacterOutsideTheAlphabetEndsTheDecoding) {
  EXPECT_EQ(Base64Decode("TWFu-TWFu"), "Man");  // the URL-safe alphabet is not this one
  EXPECT_EQ(Base64Decode("TWFu_TWFu"), "Man");
  EXPECT_EQ(Base64Decode("TWFu TWFu"), "Man");
  EXPECT_EQ(Base64Decode(std::string("TWFu\0TWFu", 9)), "Man");
  EXPECT_EQ(Base64Decode("TWFu" + W("Ж") + "TWFu"), "Man");
}

TEST(Base64Decode, EmptyTextGivesNothing) {
  EXPECT_EQ(Base64Decode(""), "");
}

TEST(Base64Decode, DecodedBytesMayHoldZeros) {
  EXPECT_EQ(Base64Decode("AAAA"), std::string(3, '\0'));
}

}  // namespace
}  // namespace morvek

namespace morvek {
namespace {

TEST(Base64Encode, PadsTheLastGroupToFourCharacters) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("M"), "TQ==");
  EXPECT_EQ(Base64Encode("Ma"), "TWE=");
  EXPECT_EQ(Base64Encode("Man"), "TWFu");
}

TEST(Base64Encode, EveryByteValueComesBackThroughDecode) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  for (std::size_t cut = 0; cut < 4; ++cut) {
    const std::string part = bytes.substr(cut);
    EXPECT_EQ(Base64Decode(Base64Encode(part)), part) << "from byte " << cut;
  }
}

}  // namespace
}  // namespace morvek
