// The texts an export is made of: money and quantities from whole numbers, ISO timestamps, and
// CSV fields quoted as spreadsheets read them.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "export/csv_text.h"
#include "export/export_values.h"

namespace morvek {
namespace {

struct NumberCase {
  long long value;
  const char* text;
};

TEST(MoneyText, KopecksBecomeHryvniasWithTwoPlaces) {
  const NumberCase cases[] = {{1250, "12.50"},
                              {-5, "-0.05"},
                              {0, "0.00"},
                              {7, "0.07"},
                              {100, "1.00"},
                              {-1250, "-12.50"},
                              {1677721699, "16777216.99"},  // past a float's whole kopecks
                              {LLONG_MAX, "92233720368547758.07"},
                              {LLONG_MIN, "-92233720368547758.08"}};
  for (const NumberCase& c : cases) EXPECT_EQ(MoneyText(c.value), c.text) << c.value;
}

TEST(QuantityText, ThousandthsBecomeThreePlaces) {
  const NumberCase cases[] = {{1000, "1.000"}, {1500, "1.500"},  {1, "0.001"},
                              {0, "0.000"},    {-250, "-0.250"}, {123456, "123.456"}};
  for (const NumberCase& c : cases) EXPECT_EQ(QuantityText(c.value), c.text) << c.value;
}

TEST(IsoTimestamp, TheArchivesTimestampGetsItsT) {
  const std::pair<const char*, const char*> cases[] = {
      {"2024-01-09 08:21:57", "2024-01-09T08:21:57"}, {"", ""}, {"2024-01-09", "2024-01-09"}};
  for (const auto& [archive, iso] : cases) EXPECT_EQ(IsoTimestamp(archive), iso) << archive;
}

TEST(CsvField, QuotesOnlyWhatNeedsItAndDoublesQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"Молоко 2,5%", "\"Молоко 2,5%\""},
      {"Батон \"Київський\"", "\"Батон \"\"Київський\"\"\""},
      {"\"", "\"\"\"\""},
      {"a;b", "a;b"},  // a semicolon is no separator here
      {"two\nlines", "\"two\nlines\""},
      {"cr\rhere", "\"cr\rhere\""},
      {" spaced ", " spaced "}};
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

TEST(CsvRecord, SeparatesByCommasAndEndsWithCrLf) {
  EXPECT_EQ(CsvRecord({"a", "b,c", "", "d\"e"}), "a,\"b,c\",,\"d\"\"e\"\r\n");
  EXPECT_EQ(CsvRecord({}), "\r\n");
  EXPECT_EQ(CsvRecord({""}), "\r\n");
}

}  // namespace
}  // namespace morvek
