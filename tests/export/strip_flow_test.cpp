// Strips on paper: what fits stays in its column, what fits in a whole column moves there whole,
// and only what is longer than a column is split, under a continuation line.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "export/strip_flow.h"

namespace morvek {
namespace {

struct FlowCase {
  const char* what;
  std::vector<std::size_t> strips;
  std::size_t columnRows;
  int columns;
  // strip, first line, lines, page, column, row, continued
  std::vector<StripPiece> pieces;
};

}  // namespace

void PrintTo(const StripPiece& p, std::ostream* out) {
  *out << "{strip " << p.strip << " lines " << p.firstLine << "+" << p.lines << " page " << p.page
       << " column " << p.column << " row " << p.row << (p.continued ? " continued}" : "}");
}

namespace {

class Flow : public ::testing::TestWithParam<FlowCase> {};

TEST_P(Flow, PlacesEveryLineOnce) {
  const FlowCase& c = GetParam();
  const std::vector<StripPiece> pieces = FlowStrips(c.strips, c.columnRows, c.columns);
  EXPECT_EQ(pieces, c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, Flow,
    ::testing::Values(
        FlowCase{"two short strips share a column, a blank row apart",
                 {3, 4},
                 10,
                 2,
                 {{0, 0, 3, 0, 0, 0, false}, {1, 0, 4, 0, 0, 4, false}}},
        FlowCase{"a strip that fits a whole column moves there whole",
                 {6, 5},
                 10,
                 2,
                 {{0, 0, 6, 0, 0, 0, false}, {1, 0, 5, 0, 1, 0, false}}},
        FlowCase{"the last column of a page goes on to the next page",
                 {8, 8, 8},
                 10,
                 2,
                 {{0, 0, 8, 0, 0, 0, false}, {1, 0, 8, 0, 1, 0, false}, {2, 0, 8, 1, 0, 0, false}}},
        FlowCase{"a strip exactly as long as what is left stays",
                 {4, 5},
                 10,
                 1,
                 {{0, 0, 4, 0, 0, 0, false}, {1, 0, 5, 0, 0, 5, false}}},
        FlowCase{"a longer strip fills the column and goes on under a continuation line",
                 {2, 20},
                 10,
                 2,
                 {{0, 0, 2, 0, 0, 0, false},
                  {1, 0, 7, 0, 0, 3, false},
                  {1, 7, 9, 0, 1, 1, true},
                  {1, 16, 4, 1, 0, 1, true}}},
        FlowCase{"pages of one column, as the desktop printer has them",
                 {7, 7},
                 10,
                 1,
                 {{0, 0, 7, 0, 0, 0, false}, {1, 0, 7, 1, 0, 0, false}}},
        FlowCase{"empty strips take no room", {0, 3, 0}, 10, 1, {{1, 0, 3, 0, 0, 0, false}}}),
    [](const ::testing::TestParamInfo<FlowCase>& param) {
      return "case" + std::to_string(param.index);
    });

TEST(FlowPages, CountsThePagesOfThePieces) {
  EXPECT_EQ(PageCount({}), 0);
  EXPECT_EQ(PageCount(FlowStrips({8, 8, 8}, 10, 2)), 2);
}

}  // namespace
}  // namespace morvek
