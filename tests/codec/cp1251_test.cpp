#include <gtest/gtest.h>

#include <string>

#include "codec/cp1251.h"
#include "codec/errors.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::U;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(Cp1251, CyrillicLettersBecomeTheirSingleBytes) {
  EXPECT_EQ(Utf8ToCp1251("Каса"), Bytes({0xCA, 0xE0, 0xF1, 0xE0}));
  EXPECT_EQ(Utf8ToCp1251("АЯая"), Bytes({0xC0, 0xDF, 0xE0, 0xFF}));
}

TEST(Cp1251, UkrainianLettersOutsideTheRussianAlphabetKeepTheirCodes) {
  EXPECT_EQ(Utf8ToCp1251("ҐґЄєІіЇїЁё"),
            Bytes({0xA5, 0xB4, 0xAA, 0xBA, 0xB2, 0xB3, 0xAF, 0xBF, 0xA8, 0xB8}));
}

TEST(Cp1251, PunctuationOfTheUpperHalfIsMapped) {
  EXPECT_EQ(Utf8ToCp1251("№€«»—"), Bytes({0xB9, 0x88, 0xAB, 0xBB, 0x97}));
}

TEST(Cp1251, AsciiAndNulPassUnchanged) {
  const std::string ascii("A<1.5>\0z", 8);
  EXPECT_EQ(Utf8ToCp1251(ascii), ascii);
}

TEST(Cp1251, CharacterWithoutWindows1251FormBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
  EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?");  // an emoji, four bytes, one character
  EXPECT_EQ(Utf8ToCp1251Strict("a中b"), "a?b");      // unmappable is not malformed
}

TEST(Cp1251, MalformedUtf8BecomesQuestionMarkAndKeepsTheFollowingText) {
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");        // cut off at the end
  EXPECT_EQ(Utf8ToCp1251("\xD0Z"), "?Z");      // continuation missing
  EXPECT_EQ(Utf8ToCp1251("a\x80z"), "a?z");    // stray continuation byte
  EXPECT_EQ(Utf8ToCp1251("\xFF\xFE"), "??");   // bytes never used in UTF-8
  EXPECT_EQ(Utf8ToCp1251("\xE0\xA0Z"), "?Z");  // a three-byte form cut short
}

TEST(Cp1251, OverlongFormsAreNotDecodedAsAscii) {
  // An overlong "<" or NUL must not slip through as the ASCII character.
  EXPECT_EQ(Utf8ToCp1251("\xE0\x80\xBC"), "?");
  EXPECT_EQ(Utf8ToCp1251("\xF0\x80\x80\xBC"), "?");
  EXPECT_EQ(Utf8ToCp1251("\xC0\xBC"), "??");
  EXPECT_THROW(Utf8ToCp1251Strict("\xE0\x80\xBC"), ConvertError);
}

TEST(Cp1251, SurrogatesAndValuesPastUnicodeAreMalformed) {
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "?");
  EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80"), "?");
  EXPECT_THROW(Utf8ToCp1251Strict("\xED\xA0\x80"), ConvertError);
}

TEST(Cp1251, StrictConversionRaisesOnMalformedText) {
  EXPECT_THROW(Utf8ToCp1251Strict("ok\xD0"), ConvertError);
  EXPECT_EQ(Utf8ToCp1251Strict("Каса"), Utf8ToCp1251("Каса"));
}

TEST(Cp1251, EveryDefinedByteSurvivesTheRoundTripThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1251Strict(Cp1251ToUtf8(one)), one) << "byte " << b;
  }
}

TEST(Cp1251, UndefinedByte98hBecomesQuestionMarkInUtf8) {
  EXPECT_EQ(Cp1251ToUtf8(Bytes({'a', 0x98, 'b'})), "a?b");
}

TEST(Cp1251, Windows1251BytesGiveUtf8) {
  EXPECT_EQ(Cp1251ToUtf8(Bytes({0xCA, 0xE0, 0xF1, 0xE0, 0x20, 0xB9, 0x88})), "Каса №€");
}

TEST(Cp1251, AppendingKeepsWhatWasThereAndAddsTheUtf8Form) {
  struct Case {
    std::string before, text, after;
  };
  for (const Case& c :
       {Case{"", "", ""}, Case{"x", "", "x"}, Case{"> ", Bytes({0xCA, 0xE0, 0x98}), "> Ка?"},
        Case{"a", Bytes({0xB9, 0x88, 0xA5}), "a№€Ґ"}}) {
    std::string out = c.before;
    AppendUtf8(out, c.text);
    EXPECT_EQ(out, c.after) << c.before;
  }
}

TEST(Cp1251, LiteralSuffixGivesTheSameBytesAsTheRuntimeConversion) {
  EXPECT_EQ(std::string("ВСЬОГО Ґ№"_cp), Utf8ToCp1251("ВСЬОГО Ґ№"));
  EXPECT_EQ(("Каса"_cp).size(), 4u);
  EXPECT_EQ(std::string("中"_cp), "?");
}

}  // namespace
}  // namespace morvek
