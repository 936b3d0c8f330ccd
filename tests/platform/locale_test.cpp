#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "platform/numbers.h"

namespace morvek {
namespace {

// Under a locale whose decimal separator is ",", number texts still use ".".
TEST(NumberTextsUnderCommaLocale, ReadAndWriteWithPoint) {
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  if (std::string(probe) != "1,5") GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(FloatToFixed(18.75, 2), "18.75");
  EXPECT_FLOAT_EQ(StrToFloat("12.5"), 12.5f);
  EXPECT_THROW(StrToFloat("12,5"), std::exception);
}

}  // namespace
}  // namespace morvek
