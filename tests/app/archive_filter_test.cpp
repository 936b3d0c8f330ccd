// The archive window's filter fields read into a query, or refused with the reason shown.
#include <gtest/gtest.h>

// Filters and queries name only the fields a case sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "app/archive_filter.h"

namespace morvek {
namespace {

struct FilterCase {
  const char* name;
  ArchiveFilter filter;
  FindQuery query;         // what it asks, when it reads
  const char* error = "";  // a part of the reason, when it does not
};

const FilterCase kCases[] = {
    {"nothing", {}, {}},
    {"blankDateFields", {.from = "  .  .  ", .to = "  .  .  "}, {}},
    {"oneDay",
     {.from = "09.01.24", .to = "09.01.24"},
     {.from = "2024-01-09 00:00:00", .to = "2024-01-09 23:59:59"}},
    {"fromOnly", {.from = "31.12.23"}, {.from = "2023-12-31 00:00:00"}},
    {"register", {.registerKey = "4000000011"}, {.registerKey = "4000000011"}},
    {"returns", {.kind = 2}, {.kinds = {DocumentKind::kReturn}}},
    {"zReports", {.kind = 5}, {.kinds = {DocumentKind::kZReport}}},
    {"numbers", {.numberFrom = "10", .numberTo = "20"}, {.numberFrom = 10, .numberTo = 20}},
    {"numberFromOnly", {.numberFrom = " 7"}, {.numberFrom = 7}},
    {"text", {.text = "хліб житній"}, {.text = "хліб житній"}},
    {"noSuchDay", {.from = "31.02.24"}, {}, "ДД.ММ.ГГ"},
    {"notADate", {.to = "9.1.2024"}, {}, "ДД.ММ.ГГ"},
    {"endBeforeStart", {.from = "10.01.24", .to = "09.01.24"}, {}, "раньше"},
    {"numberNotWhole", {.numberFrom = "1.5"}, {}, "целое число"},
    {"numberZero", {.numberTo = "0"}, {}, "целое число"},
    {"numberRangeInOneField", {.numberFrom = "5-7"}, {}, "целое число"},
    {"lastBelowFirst", {.numberFrom = "20", .numberTo = "10"}, {}, "меньше"},
};

TEST(ArchiveFilter, FieldsReadIntoTheQueryOrSayWhyNot) {
  for (const FilterCase& c : kCases) {
    std::string error;
    const std::optional<FindQuery> query = FilterQuery(c.filter, error);
    if (std::string(c.error).empty()) {
      ASSERT_TRUE(query) << c.name << ": " << error;
      EXPECT_EQ(query->registerKey, c.query.registerKey) << c.name;
      EXPECT_EQ(query->from, c.query.from) << c.name;
      EXPECT_EQ(query->to, c.query.to) << c.name;
      EXPECT_EQ(query->kinds, c.query.kinds) << c.name;
      EXPECT_EQ(query->numberFrom, c.query.numberFrom) << c.name;
      EXPECT_EQ(query->numberTo, c.query.numberTo) << c.name;
      EXPECT_EQ(query->text, c.query.text) << c.name;
    } else {
      EXPECT_FALSE(query) << c.name;
      EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
  }
}

TEST(ArchiveFilter, EveryKindChoiceButTheFirstNamesAKind) {
  const std::vector<std::string>& choices = ArchiveKindChoices();
  ASSERT_EQ(choices.size(), 6u);
  for (int i = 1; i < static_cast<int>(choices.size()); ++i) {
    std::string error;
    const std::optional<FindQuery> query = FilterQuery({.kind = i}, error);
    ASSERT_TRUE(query && query->kinds.size() == 1) << i;
    EXPECT_EQ(KindCaption(query->kinds.front()), choices[static_cast<std::size_t>(i)]);
  }
}

}  // namespace
}  // namespace morvek
