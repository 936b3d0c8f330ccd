#include "archive/fold_case.h"

#include <gtest/gtest.h>

namespace morvek {
namespace {

TEST(FoldCase, PutsLatinAndCyrillicCapitalsInLowerCase) {
  const struct {
    const char* what;
    const char* text;
    const char* folded;
  } cases[] = {
      {"Ukrainian", "ХЛІБ Житній", "хліб житній"},
      {"capitals before А", "ЇЖАК ҐАВА ЄНОТ ЁЖ ЎЗ", "їжак ґава єнот ёж ўз"},
      {"А to Я", "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", "абвгдежзийклмнопрстуфхцчшщъыьэюя"},
      {"Latin and digits", "Coca-Cola 0,5Л", "coca-cola 0,5л"},
      {"Latin-1 but the sign of multiplication", "ÀÉ × Ø", "àé × ø"},
      {"nothing to fold", "№ 5 € ї", "№ 5 € ї"},
      {"malformed bytes stay as sent", "A\xff\xd0Б", "a\xff\xd0б"},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldCase(c.text), c.folded) << c.what;
}

}  // namespace
}  // namespace morvek
