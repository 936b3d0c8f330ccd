#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "codec/errors.h"
#include "platform/numbers.h"

namespace morvek {
namespace {

std::string ErrorOf(void (*action)()) {
  try {
    action();
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "(nothing raised)";
}

// --- integers ---

TEST(StrToInt, ReadsDecimalWithLeadingBlanksAndSign) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("   42"), 42);
  EXPECT_EQ(StrToInt("-7"), -7);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("007"), 7);
}

TEST(StrToInt, ReachesBothEndsOf32Bits) {
  EXPECT_EQ(StrToInt("2147483647"), std::numeric_limits<int>::max());
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
}

TEST(StrToInt, ValuesBeyond32BitsRaise) {
  EXPECT_THROW(StrToInt("2147483648"), ConvertError);
  EXPECT_THROW(StrToInt("-2147483649"), ConvertError);
  EXPECT_THROW(StrToInt("99999999999999999999999999"), ConvertError);
}

TEST(StrToInt, AnythingButDigitsRaises) {
  for (const char* text :
       {"", " ", "-", "+", "x", "12a", "1 2", "42 ", "1.0", "0x10", "1e3", "--1", "+-1", "1,000"})
    EXPECT_THROW(StrToInt(text), ConvertError) << "'" << text << "'";
}

TEST(StrToInt, ErrorMessageNamesTheText) {
  EXPECT_EQ(ErrorOf([] { StrToInt("x"); }), "'x' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt(""); }), "'' is not a valid integer value");
}

TEST(StrToIntDef, GivesTheFallbackForTextThatIsNoInteger) {
  EXPECT_EQ(StrToIntDef("x", 0), 0);
  EXPECT_EQ(StrToIntDef("", -1), -1);
  EXPECT_EQ(StrToIntDef("2147483648", 5), 5);
  EXPECT_EQ(StrToIntDef(" 12", 5), 12);
}

// --- floats from text ---

TEST(StrToFloat, ReadsPointFractionsSignsAndExponents) {
  EXPECT_FLOAT_EQ(StrToFloat("12.5"), 12.5f);
  EXPECT_FLOAT_EQ(StrToFloat(" -3.25 "), -3.25f);
  EXPECT_FLOAT_EQ(StrToFloat("+1e3"), 1000.0f);
  EXPECT_FLOAT_EQ(StrToFloat("1E-2"), 0.01f);
  EXPECT_FLOAT_EQ(StrToFloat("2.5e+1"), 25.0f);
  EXPECT_FLOAT_EQ(StrToFloat(".5"), 0.5f);
  EXPECT_FLOAT_EQ(StrToFloat("5."), 5.0f);
  EXPECT_FLOAT_EQ(StrToFloat("150"), 150.0f);
}

TEST(StrToFloat, CommaInfinityNanAndHexadecimalRaise) {
  for (const char* text :
       {"12,5", "inf", "-inf", "INF", "nan", "NaN", "Infinity", "0x10", "0x1p3", "1,000.5"})
    EXPECT_THROW(StrToFloat(text), ConvertError) << text;
}

TEST(StrToFloat, MalformedShapesRaise) {
  for (const char* text : {"", " ", ".", "-", "+.", "e5", "1e", "1e+", "1.2.3", "1 2", "abc", "12a",
                           "1e5x", "--1", "1_000"})
    EXPECT_THROW(StrToFloat(text), ConvertError) << "'" << text << "'";
}

TEST(StrToFloat, ValuesOutsideTheFloatRangeRaise) {
  EXPECT_THROW(StrToFloat("1e39"), ConvertError);
  EXPECT_THROW(StrToFloat("-3.5e38"), ConvertError);
  EXPECT_THROW(StrToFloat("1e400"), ConvertError);  // beyond double too
  EXPECT_THROW(StrToFloat("1e99999999999999999999"), ConvertError);
  EXPECT_THROW(StrToFloat(std::string(400, '9')), ConvertError);
  EXPECT_FLOAT_EQ(StrToFloat("3.4e38"), 3.4e38f);
}

TEST(StrToFloat, ValuesTooSmallForAFloatReadAsZero) {
  // Whether the double can hold them or not, they read the same: as 0.
  EXPECT_EQ(StrToFloat("1e-50"), 0.0f);
  EXPECT_EQ(StrToFloat("1e-400"), 0.0f);
  EXPECT_EQ(StrToFloat("-1e-99999999999999999999"), 0.0f);
  EXPECT_EQ(StrToFloat("0." + std::string(400, '0') + "1"), 0.0f);
  EXPECT_EQ(StrToFloat("0e999999"), 0.0f);
}

TEST(StrToFloat, ErrorMessageNamesTheText) {
  EXPECT_EQ(ErrorOf([] { StrToFloat("abc"); }), "'abc' is not a valid floating point value");
}

TEST(StrToFloat, LargeWholeNumbersTakeTheNearestFloat) {
  EXPECT_EQ(StrToFloat("16777216"), 16777216.0f);
  EXPECT_EQ(StrToFloat("16777217"), 16777216.0f);  // the float cannot hold it exactly
}

// --- floats to text ---

TEST(FloatToFixed, WritesTheGivenDecimalsWithAPoint) {
  EXPECT_EQ(FloatToFixed(18.75, 2), "18.75");
  EXPECT_EQ(FloatToFixed(1.5, 2), "1.50");
  EXPECT_EQ(FloatToFixed(0, 2), "0.00");
  EXPECT_EQ(FloatToFixed(0.5, 3), "0.500");
  EXPECT_EQ(FloatToFixed(-2.25, 2), "-2.25");
  EXPECT_EQ(FloatToFixed(7.6, 0), "8");
}

TEST(FloatToFixed, NeverGroupsThousands) {
  EXPECT_EQ(FloatToFixed(1234567.5, 2), "1234567.50");
  EXPECT_EQ(FloatToFixed(-1234567.0, 0), "-1234567");
}

TEST(FloatToFixed, TiesRoundAwayFromZero) {
  EXPECT_EQ(FloatToFixed(0.125, 2), "0.13");
  EXPECT_EQ(FloatToFixed(-0.125, 2), "-0.13");
  EXPECT_EQ(FloatToFixed(2.5, 0), "3");
  EXPECT_EQ(FloatToFixed(-2.5, 0), "-3");
  EXPECT_EQ(FloatToFixed(0.0005, 3), "0.001");
}

TEST(FloatToFixed, ScalesAndRoundsInDoublePrecision) {
  // 2.675 * 100 is 267.5 in double (a tie, rounded up); 1.005 * 100 stays below 100.5.
  EXPECT_EQ(FloatToFixed(2.675, 2), "2.68");
  EXPECT_EQ(FloatToFixed(1.005, 2), "1.00");
  // A float amount of kopecks scaled the way the layouts do it.
  EXPECT_EQ(FloatToFixed(static_cast<double>(12345.0f) * 0.01, 2), "123.45");
}

TEST(FloatToFixed, NegativeValueRoundingToZeroHasNoSign) {
  EXPECT_EQ(FloatToFixed(-0.004, 2), "0.00");
  EXPECT_EQ(FloatToFixed(-0.0, 2), "0.00");
  EXPECT_EQ(FloatToFixed(-0.4, 0), "0");
}

TEST(FloatToFixed, NineSignificantDigitsLimitTheDecimals) {
  EXPECT_EQ(FloatToFixed(123456789.0, 2), "123456789.00");
  EXPECT_EQ(FloatToFixed(12345678.94, 2), "12345678.90");
  EXPECT_EQ(FloatToFixed(12345678.96, 2), "12345679.00");
}

TEST(FloatToFixed, MoreWholeDigitsThanThePrecisionSwitchToExponentForm) {
  EXPECT_EQ(FloatToFixed(1e10, 2), "1E10");
  EXPECT_EQ(FloatToFixed(1.5e10, 2), "1.5E10");
  EXPECT_EQ(FloatToFixed(-1234567890.0, 2), "-1.23456789E9");
  EXPECT_EQ(FloatToFixed(999999999.6, 2), "1E9");  // the rounding carry adds a tenth digit
}

TEST(FloatToFixed, InfinityAndNanAreNamed) {
  EXPECT_EQ(FloatToFixed(std::numeric_limits<double>::infinity(), 2), "INF");
  EXPECT_EQ(FloatToFixed(-std::numeric_limits<double>::infinity(), 2), "-INF");
  EXPECT_EQ(FloatToFixed(std::nan(""), 2), "NAN");
}

TEST(FloatToFixed, NegativeDecimalsAreTakenAsNone) {
  EXPECT_EQ(FloatToFixed(7.6, -3), "8");
}

TEST(FloatToFixed, WrittenTextReadsBackToTheSameValue) {
  for (double v : {0.01, 1.5, 150.0, 99999.99, 1234567.89, -0.5})
    EXPECT_FLOAT_EQ(StrToFloat(FloatToFixed(v, 2)), static_cast<float>(v)) << v;
}

// --- whole numbers of floats ---

TEST(TruncToInt, TruncatesTowardZero) {
  EXPECT_EQ(TruncToInt(31.7), 31);
  EXPECT_EQ(TruncToInt(-3.7), -3);
  EXPECT_EQ(TruncToInt(0.999), 0);
}

TEST(TruncToInt, ReachesBothEndsOf32Bits) {
  EXPECT_EQ(TruncToInt(2147483647.9), 2147483647);
  EXPECT_EQ(TruncToInt(-2147483648.9), -2147483648);
}

TEST(TruncToInt, OutOfRangeAndNanRaise) {
  EXPECT_THROW(TruncToInt(2147483648.0), ConvertError);
  EXPECT_THROW(TruncToInt(-2147483649.0), ConvertError);
  EXPECT_THROW(TruncToInt(1e20), ConvertError);
  EXPECT_THROW(TruncToInt(static_cast<double>(FLT_MAX)), ConvertError);
  EXPECT_THROW(TruncToInt(std::nan("")), ConvertError);
  EXPECT_THROW(TruncToInt(std::numeric_limits<double>::infinity()), ConvertError);
}

}  // namespace
}  // namespace morvek
