// The three text operations both layouts share, and the number texts of the layouts.
#include "render/text_ops.h"

#include <gtest/gtest.h>

#include <string>

#include "codec/errors.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::W;

std::string Spaces(std::size_t n) {
  return std::string(n, ' ');
}

// "ab" is shorter than 38, so it becomes "ab" + 35 spaces (37 characters) before the value lands.
TEST(PlaceRight, AmountColumnPutsLastCharacterInColumn37) {
  EXPECT_EQ(PlaceRight("ab", "XY", 37), "ab" + Spaces(33) + "XY");
}

TEST(PlaceRight, RateColumnPutsLastCharacterInColumn30AndKeepsThePaddingAfterIt) {
  EXPECT_EQ(PlaceRight("ab", "XY", 30), "ab" + Spaces(26) + "XY" + Spaces(7));
}

TEST(PlaceRight, FirstZReportAmountColumnIs24) {
  EXPECT_EQ(PlaceRight("ab", "XY", 24), "ab" + Spaces(20) + "XY" + Spaces(13));
}

TEST(PlaceRight, ReceiptNumberColumnIs11) {
  EXPECT_EQ(PlaceRight("  000000000", "12345", 11), "  000012345" + Spaces(35));
}

TEST(PlaceRight, OtherColumnsReturnThePaddedLineUnchanged) {
  for (int column : {0, 1, 12, 23, 25, 29, 31, 36, 38, 100, -5})
    EXPECT_EQ(PlaceRight("ab", "XY", column), "ab" + Spaces(35)) << "column " << column;
}

TEST(PlaceRight, LineOf37CharactersIsPadded) {
  const std::string line(37, 'x');
  EXPECT_EQ(PlaceRight(line, "1", 37), std::string(36, 'x') + "1" + Spaces(35));
}

TEST(PlaceRight, LineOf38CharactersIsNotPaddedAndTheValueOverwritesItsText) {
  const std::string line(38, 'x');
  EXPECT_EQ(PlaceRight(line, "12", 37), std::string(35, 'x') + "12" + "x");
}

TEST(PlaceRight, LongLineKeepsItsLengthAndTextAfterTheColumn) {
  const std::string line = std::string(30, '-') + "abcdefghijklmnop";  // 46 characters
  EXPECT_EQ(PlaceRight(line, "ZZ", 24), std::string(22, '-') + "ZZ" + "------abcdefghijklmnop");
}

TEST(PlaceRight, ValueFillingTheColumnsFromColumnOneIsAccepted) {
  EXPECT_EQ(PlaceRight("ab", "12345678901", 11), "12345678901" + Spaces(26));
}

TEST(PlaceRight, ValueThatWouldStartBeforeColumnOneRaises) {
  EXPECT_THROW(PlaceRight("ab", "123456789012", 11), RangeError);
  EXPECT_THROW(PlaceRight("ab", std::string(38, '9'), 37), RangeError);
}

TEST(PlaceRight, ColumnPastTheEndOfThePaddedLineRaises) {
  // "" and "a" pad to 35 and 36 characters: column 37 lies past their end.
  EXPECT_THROW(PlaceRight("", "1", 37), RangeError);
  EXPECT_THROW(PlaceRight("a", "1", 37), RangeError);
  EXPECT_EQ(PlaceRight("", "1", 30), Spaces(29) + "1" + Spaces(5));
}

TEST(PlaceRight, ValueOfWindows1251TextTakesOneColumnPerLetter) {
  EXPECT_EQ(PlaceRight(W("  Сума"), W("Б"), 11), W("  Сума    Б") + Spaces(30));
}

TEST(TaxLetter, GroupsZeroToSixHaveTheirMarks) {
  EXPECT_EQ(TaxLetter(0), " ");
  EXPECT_EQ(TaxLetter(1), "A");  // the Latin letter
  EXPECT_EQ(TaxLetter(2), W("Б"));
  EXPECT_EQ(TaxLetter(3), W("В"));
  EXPECT_EQ(TaxLetter(4), W("Г"));
  EXPECT_EQ(TaxLetter(5), W("Д"));
  EXPECT_EQ(TaxLetter(6), "*");
}

TEST(TaxLetter, AnyOtherIndexGivesTheTooManyParametersText) {
  for (int index : {7, 9, -1, 100})
    EXPECT_EQ(TaxLetter(index), W("Много параметров")) << "index " << index;
}

TEST(FormatStamp, FullStampWithTime) {
  EXPECT_EQ(FormatStamp("201603051407", true), "05.03.2016  14:07");
}

TEST(FormatStamp, FullStampWithoutTimeEndsInTwoSpaces) {
  EXPECT_EQ(FormatStamp("201603051407", false), "05.03.2016  ");
}

TEST(FormatStamp, EmptyStampGivesOnlyTheSeparators) {
  EXPECT_EQ(FormatStamp("", true), "..  :");
  EXPECT_EQ(FormatStamp("", false), "..  ");
}

TEST(FormatStamp, ShortStampCutsThePiecesItDoesNotReach) {
  EXPECT_EQ(FormatStamp("2016030", true), "0.03.2016  :");
  EXPECT_EQ(FormatStamp("20160305", true), "05.03.2016  :");
  EXPECT_EQ(FormatStamp("2016030514", true), "05.03.2016  14:");
  EXPECT_EQ(FormatStamp("20160305140", true), "05.03.2016  14:0");
  EXPECT_EQ(FormatStamp("201", true), "..201  :");
}

TEST(FormatStamp, CharactersAfterTheMinuteAreIgnored) {
  EXPECT_EQ(FormatStamp("20160305140759", true), "05.03.2016  14:07");
}

TEST(NumberTexts, MoneyIsKopecksAsHryvniasWithTwoDecimalsAndAPoint) {
  EXPECT_EQ(Money(1875.0f), "18.75");
  EXPECT_EQ(Money(5.0f), "0.05");
  EXPECT_EQ(Money(0.0f), "0.00");
}

TEST(NumberTexts, NegativeMoneyKeepsItsSign) {
  EXPECT_EQ(Money(-1875.0f), "-18.75");
  EXPECT_EQ(Money(-5.0f), "-0.05");
}

TEST(NumberTexts, MoneyRoundsToTheNearestKopeck) {
  EXPECT_EQ(Money(1234.56f), "12.35");
  EXPECT_EQ(Money(1999.6f), "20.00");
  EXPECT_EQ(Money(1234.44f), "12.34");
}

TEST(NumberTexts, NegativeValueRoundingToZeroIsNeverMinusZero) {
  EXPECT_EQ(Money(-0.4f), "0.00");
  EXPECT_EQ(Money(-0.0f), "0.00");
  EXPECT_EQ(Rate(-0.001f), "0.00");
}

TEST(NumberTexts, NineWholeDigitsStayFixedPoint) {
  EXPECT_EQ(Money(1e10f), "100000000.00");
}

TEST(NumberTexts, MoreThanNineWholeDigitsSwitchToExponentForm) {
  // 2^37 and 2^40 kopecks are exact in a 32-bit float.
  EXPECT_EQ(Money(137438953472.0f), "1.37438953E9");
  EXPECT_EQ(Money(-1099511627776.0f), "-1.09951163E10");
}

TEST(NumberTexts, RateIsUnscaledWithTwoDecimals) {
  EXPECT_EQ(Rate(20.0f), "20.00");
  EXPECT_EQ(Rate(7.5f), "7.50");
}

TEST(NumberTexts, WholeNumberOfATextIsADecimalInteger) {
  EXPECT_EQ(WholeOf(std::string_view("12")), 12);
  EXPECT_THROW(WholeOf(std::string_view("")), ConvertError);
  EXPECT_THROW(WholeOf(std::string_view("1.5")), ConvertError);
  EXPECT_THROW(WholeOf(std::string_view("A")), ConvertError);
}

TEST(NumberTexts, WholeNumberOfAFloatTruncatesTowardZero) {
  EXPECT_EQ(WholeOf(2.9f), 2);
  EXPECT_EQ(WholeOf(-2.9f), -2);
}

}  // namespace
}  // namespace morvek
