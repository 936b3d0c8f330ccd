#include "archive/fold_case.h"

#include <gtest/gtest.h>

namespace morvek {
namespace {

struct FoldCase_ {
  const char* text;
  const char* folded;
};

class FoldCaseTest : public testing::TestWithParam<FoldCase_> {};

TEST_P(FoldCaseTest, PutsLatinAndCyrillicCapitalsInLowerCase) {
  EXPECT_EQ(FoldCase(GetParam().text), GetParam().folded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FoldCaseTest,
    testing::Values(FoldCase_{"ХЛІБ Житній", "хліб житній"},
                    FoldCase_{"ЇЖАК ҐАВА ЄНОТ ЁЖ ЎЗ", "їжак ґава єнот ёж ўз"},
                    FoldCase_{"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
                              "абвгдежзийклмнопрстуфхцчшщъыьэюя"},
                    FoldCase_{"Coca-Cola 0,5Л", "coca-cola 0,5л"},
                    FoldCase_{"ÀÉ × Ø", "àé × ø"},            // the sign of multiplication stays
                    FoldCase_{"№ 5 € ї", "№ 5 € ї"},          // nothing to fold
                    FoldCase_{"A\xff\xd0Б", "a\xff\xd0б"}));  // malformed bytes stay as sent

}  // namespace
}  // namespace morvek
