// The firmware date gate: a register built on 4 December 2015 or later sends its documents in
// blocks.
#include <gtest/gtest.h>

#include "app/application.h"
#include "platform/errors.h"
#include "test_support.h"

namespace morvek {
namespace {

class FirmwareGate : public ::testing::Test {
 protected:
  test::RecordingUi ui;
  Application app{ui};
  TForm3& form = app.Form3;
};

TEST_F(FirmwareGate, FourthOfDecember2015AndLaterPass) {
  EXPECT_TRUE(form.CheckFirmwareDate("Dec  4 2015"));
  EXPECT_TRUE(form.CheckFirmwareDate("Dec  5 2015"));
  EXPECT_TRUE(form.CheckFirmwareDate("Dec 12 2015"));
  EXPECT_TRUE(form.CheckFirmwareDate("Jan  1 2016"));
}

TEST_F(FirmwareGate, EarlierDatesAndAZeroPaddedFourthFail) {
  EXPECT_FALSE(form.CheckFirmwareDate("Dec 04 2015"));
  EXPECT_FALSE(form.CheckFirmwareDate("Nov 30 2015"));
  EXPECT_FALSE(form.CheckFirmwareDate("Dec 31 2014"));
}

TEST_F(FirmwareGate, DatecsDatesAreReadWithOneOrTwoDigitDays) {
  EXPECT_TRUE(form.CheckDatecsFirmwareDate("4Dec15"));
  EXPECT_TRUE(form.CheckDatecsFirmwareDate("12Dec15"));
  EXPECT_TRUE(form.CheckDatecsFirmwareDate("1Jan16"));
  EXPECT_FALSE(form.CheckDatecsFirmwareDate("04Dec15"));
  EXPECT_FALSE(form.CheckDatecsFirmwareDate("30Nov15"));
  EXPECT_FALSE(form.CheckDatecsFirmwareDate("31Dec14"));
}

TEST_F(FirmwareGate, ADateThatIsNoNumberOrTooShortRaises) {
  EXPECT_THROW(form.CheckFirmwareDate("Dec  4 20x5"), ConvertError);
  EXPECT_THROW(form.CheckFirmwareDate("Dec  x 2015"), ConvertError);
  EXPECT_THROW(form.CheckFirmwareDate("Dec 4"), ConvertError);
  EXPECT_THROW(form.CheckFirmwareDate(""), ConvertError);
  EXPECT_THROW(form.CheckDatecsFirmwareDate("4"), RangeError);
  EXPECT_THROW(form.CheckDatecsFirmwareDate(""), RangeError);
}

}  // namespace
}  // namespace morvek
