// A search typed by a person as a full-text query: words quoted, never read as query syntax.
#include <gtest/gtest.h>

// Records and queries name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "archive/text_search.h"

namespace morvek {
namespace {

TEST(AllWordsQuery, EachWordBecomesAQuotedPhrase) {
  const struct {
    const char* typed;
    const char* query;
  } cases[] = {
      {"хліб", "\"хліб\""},   {"  Хліб   житній\t", "\"Хліб\" \"житній\""},
      {"a\"b", "\"a\"\"b\""}, {"OR NEAR(x) *", "\"OR\" \"NEAR(x)\" \"*\""},
      {"2,5%", "\"2,5%\""},   {"", ""},
      {" \n ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(AllWordsQuery(c.typed), c.query) << c.typed;
}

TEST(SearchableText, HoldsItemNamesAndLineTextsALineEach) {
  DocumentRecord document;
  document.items.push_back({.line = 1, .name = "Хліб"});
  document.items.push_back({.line = 2, .name = "Молоко"});
  document.texts.push_back({3, "Дякуємо"});
  document.payments.push_back({.line = 4, .name = "ГОТІВКА"});
  EXPECT_EQ(SearchableText(document), "Хліб\nМолоко\nДякуємо\n");
}

}  // namespace
}  // namespace morvek
