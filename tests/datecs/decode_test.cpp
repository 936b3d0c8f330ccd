// What the driver makes of a parsed reply: the status word, the data adjustments, the split, and
// the message the program's result callback shows.
#include <gtest/gtest.h>

#include "datecs/driver_fixture.h"
#include "datecs/results.h"

namespace morvek::test {
namespace {

using namespace datecs;

using DatecsDecode = DatecsDriverTest;

std::uint32_t Bits(std::initializer_list<int> bits) {
  std::uint32_t flags = 0;
  for (int b : bits) flags |= 1u << b;
  return flags;
}

TEST_F(DatecsDecode, StatusBytesMapBitByBitAndAreMaskedWith7F) {
  Decode(0x4A, DatecsReply(0x21, 0x4A, "", {0xF7, 0xBF, 0xA9, 0xBF, 0xBD, 0xBF}));
  EXPECT_EQ(driver.record.statusFlags, Bits({0,  1,  2,  3,  27, 4,  5,  6,  7,  8,  12, 9, 10,
                                             11, 16, 13, 20, 17, 28, 18, 21, 19, 22, 23, 14}));
  EXPECT_EQ(driver.record.statusBytes,
            (std::array<std::uint8_t, 6>{0x77, 0x3F, 0x29, 0x3F, 0x3D, 0x3F}));
}

TEST_F(DatecsDecode, ChecksumMismatchNakAndSilenceEachSetTheirBitAlone) {
  std::string reply = DatecsReply(0x21, 0x4A, "", {0x81, 0x80, 0x80, 0x80, 0x80, 0x80});
  reply[reply.size() - 2] ^= 1;
  Decode(0x4A, reply);
  EXPECT_EQ(driver.record.statusFlags, kChecksumError);
  Decode(0x4A, "\x15");
  EXPECT_EQ(driver.record.statusFlags, kNakReceived);
  Decode(0x4A, "");
  EXPECT_EQ(driver.record.statusFlags, kNoReply);
}

TEST_F(DatecsDecode, AnEtxAfterABrokenFrameIsNoGoodReply) {
  // The frame breaks at 'b' (no EOT); the bytes up to the ETX fall back to idle.
  std::string reply = DatecsReply(0x22, 0xA7, "ab");
  reply.insert(5, "\x16");
  Decode(0xA7, reply);
  EXPECT_EQ(driver.record.statusFlags, kChecksumError);
}

TEST_F(DatecsDecode, DateAndTimeSplitAtTheirNinthCharacter) {
  Decode(0x3E, DatecsReply(0x21, 0x3E, "05.03.24 09:04:07"));
  ASSERT_EQ(driver.record.paramCount, 2);
  EXPECT_EQ(driver.record.params[0], "05.03.24");
  EXPECT_EQ(driver.record.params[1], "09:04:07");
  Decode(0x3E, DatecsReply(0x21, 0x3E, "05.03.24"));  // nothing at the ninth place to change
  ASSERT_EQ(driver.record.paramCount, 1);
  EXPECT_EQ(driver.record.params[0], "05.03.24");
}

TEST_F(DatecsDecode, TotalsSplitTheirLetterFromTheAmount) {
  Decode(0x35, DatecsReply(0x21, 0x35, "F1250"));
  ASSERT_EQ(driver.record.paramCount, 2);
  EXPECT_EQ(driver.record.params[0], "F");
  EXPECT_EQ(driver.record.params[1], "1250");
  Decode(0x32, DatecsReply(0x21, 0x32, "P20"));
  EXPECT_EQ(driver.record.paramCount, 2);
  EXPECT_EQ(driver.record.dataCopy, "P20");  // taken before the adjustment
}

TEST_F(DatecsDecode, DiagnosticsSpacesBecomeSeparatorsOnlyInTheFirst20Characters) {
  Decode(0x5A, DatecsReply(0x21, 0x5A, "ZL-01 05Mar24 1 2 3 4 5 6"));
  ASSERT_EQ(driver.record.paramCount, 6);
  EXPECT_EQ(driver.record.params[0], "ZL-01");
  EXPECT_EQ(driver.record.params[1], "05Mar24");
  EXPECT_EQ(driver.record.params[5], "4 5 6");
}

TEST_F(DatecsDecode, SplitCountsEveryCommaAndEmptyDataKeepsTheOldSlots) {
  Decode(0xA7, DatecsReply(0x21, 0xA7, "a,b,"));
  ASSERT_EQ(driver.record.paramCount, 3);
  EXPECT_EQ(driver.record.params[1], "b");
  EXPECT_EQ(driver.record.params[2], "");
  Decode(0xA7, DatecsReply(0x21, 0xA7, ""));
  EXPECT_EQ(driver.record.paramCount, 0);
  EXPECT_EQ(driver.record.params[1], "b");
}

TEST_F(DatecsDecode, MoreThanTwentyParametersLeaveTheRestInTheLastSlot) {
  std::string data;
  for (int i = 0; i < 25; ++i) data += std::to_string(i) + ",";
  Decode(0xA7, DatecsReply(0x21, 0xA7, data));
  ASSERT_EQ(driver.record.paramCount, 20);
  EXPECT_EQ(driver.record.params[18], "18");
  EXPECT_EQ(driver.record.params[19], "19,20,21,22,23,24,");
}

TEST_F(DatecsDecode, DataCopyKeepsWhatFitsItsField) {
  Decode(0xA7, DatecsReply(0x21, 0xA7, "1," + std::string(200, 'Q')));
  EXPECT_EQ(driver.record.dataCopy, "1," + std::string(125, 'Q'));
  EXPECT_EQ(driver.record.params[1], std::string(200, 'Q'));
  EXPECT_EQ(driver.record.commandName, W("Команда A7h: Вывод документов в электронном виде"));
}

TEST(DatecsResultMessage, TheFirstBitOfTheTableWins) {
  EXPECT_EQ(ResultMessage(Bits({1, 9, 20})), W("Неверная команда"));
  EXPECT_EQ(ResultMessage(Bits({20, 16})), W("В фиск. памяти мало места"));
  EXPECT_EQ(ResultMessage(Bits({8})), W("Обнуление ОЗУ"));
  EXPECT_EQ(ResultMessage(kNoReply), W("Таймаут"));
  EXPECT_EQ(ResultMessage(Bits({28})), W("Общая ошибка фиск. памяти"));
  EXPECT_EQ(ResultMessage(Bits({7, 10, 11, 12, 14, 21, 22, 23})), "");
}

}  // namespace
}  // namespace morvek::test
