// The firmware date gate: a register built on 4 December 2015 or later sends its documents in
// blocks.
#include <gtest/gtest.h>

#include "codec/errors.h"
#include "session/register_check.h"

namespace morvek {
namespace {

TEST(FirmwareGate, FourthOfDecember2015AndLaterPass) {
  EXPECT_TRUE(CheckFirmwareDate("Dec  4 2015"));
  EXPECT_TRUE(CheckFirmwareDate("Dec  5 2015"));
  EXPECT_TRUE(CheckFirmwareDate("Dec 12 2015"));
  EXPECT_TRUE(CheckFirmwareDate("Jan  1 2016"));
}

TEST(FirmwareGate, EarlierDatesAndAZeroPaddedFourthFail) {
  EXPECT_FALSE(CheckFirmwareDate("Dec 04 2015"));
  EXPECT_FALSE(CheckFirmwareDate("Nov 30 2015"));
  EXPECT_FALSE(CheckFirmwareDate("Dec 31 2014"));
}

TEST(FirmwareGate, DatecsDatesAreReadWithOneOrTwoDigitDays) {
  EXPECT_TRUE(CheckDatecsFirmwareDate("4Dec15"));
  EXPECT_TRUE(CheckDatecsFirmwareDate("12Dec15"));
  EXPECT_TRUE(CheckDatecsFirmwareDate("1Jan16"));
  EXPECT_FALSE(CheckDatecsFirmwareDate("04Dec15"));
  EXPECT_FALSE(CheckDatecsFirmwareDate("30Nov15"));
  EXPECT_FALSE(CheckDatecsFirmwareDate("31Dec14"));
}

TEST(FirmwareGate, ADateThatIsNoNumberOrTooShortRaises) {
  EXPECT_THROW(CheckFirmwareDate("Dec  4 20x5"), ConvertError);
  EXPECT_THROW(CheckFirmwareDate("Dec  x 2015"), ConvertError);
  EXPECT_THROW(CheckFirmwareDate("Dec 4"), ConvertError);
  EXPECT_THROW(CheckFirmwareDate(""), ConvertError);
  EXPECT_THROW(CheckDatecsFirmwareDate("4"), RangeError);
  EXPECT_THROW(CheckDatecsFirmwareDate(""), RangeError);
}

}  // namespace
}  // namespace morvek
