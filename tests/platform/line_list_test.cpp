#include "platform/line_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace morvek {
namespace {

using Lines = std::vector<std::string>;

constexpr std::size_t kFirstChunk = 4096;
constexpr std::size_t kLargestChunk = 1 << 20;

// Lines of many lengths, so that chunks fill up at every offset; line i is never empty.
Lines Varied(std::size_t count) {
  Lines lines;
  for (std::size_t i = 0; i < count; ++i)
    lines.push_back(std::string(1 + i % 97, static_cast<char>('a' + i % 26)));
  return lines;
}

LineList Filled(const Lines& lines) {
  LineList list;
  for (const std::string& line : lines) list.push_back(line);
  return list;
}

void ExpectHolds(const LineList& list, const Lines& lines, const std::string& name) {
  ASSERT_EQ(list.size(), lines.size()) << name;
  EXPECT_EQ(list.empty(), lines.empty()) << name;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(list[i], lines[i]) << name << " line " << i;
    bytes += lines[i].size();
  }
  EXPECT_TRUE(std::equal(list.begin(), list.end(), lines.begin(), lines.end())) << name;
  EXPECT_EQ(static_cast<Lines>(list), lines) << name;
  EXPECT_TRUE(list == lines) << name;
  EXPECT_EQ(list.TextBytes(), bytes) << name;
  EXPECT_GE(list.BytesHeld(), bytes) << name;
  if (!lines.empty()) {
    EXPECT_EQ(list.back(), lines.back()) << name;
  }
}

struct RoundTrip {
  std::string name;
  Lines lines;
};

std::vector<RoundTrip> RoundTrips() {
  const std::string chunk(kFirstChunk, 'c');
  const std::string largest(kLargestChunk, 'L');
  const std::string beyond(kLargestChunk + 1, 'B');
  std::string cp1251;  // every byte, the Cyrillic of Windows-1251 and a NUL among them
  for (int b = 0; b < 256; ++b) cp1251 += static_cast<char>(b);
  return {
      {"no lines", {}},
      {"empty lines only", {"", "", ""}},
      {"empty lines around", {"", "a", "", "", "b", ""}},
      {"a line of exactly the first chunk", {chunk, "after"}},
      {"a short line, then one the size of the first chunk", {"x", chunk, "y"}},
      {"a line of the largest chunk between short ones", {"x", largest, "y", ""}},
      {"an empty line after a full chunk of the largest size", {largest, "", "z"}},
      {"a line longer than any chunk, twice", {"x", beyond, beyond, "", "y"}},
      {"Windows-1251 bytes", {cp1251, "\xC2\xD1\xDC\xCE\xC3\xCE", std::string(1, '\0')}},
      {"over many index blocks and chunks", Varied(3 * 4096 + 17)},
  };
}

TEST(LineList, GivesBackEveryLineByteForByte) {
  for (const RoundTrip& c : RoundTrips()) ExpectHolds(Filled(c.lines), c.lines, c.name);
}

TEST(LineList, ClearedAndFilledAgainHoldsOnlyTheNewLines) {
  for (const RoundTrip& c : RoundTrips()) {
    LineList list = Filled(Varied(5000));
    list.clear();
    ExpectHolds(list, {}, c.name + " (cleared)");
    for (const std::string& line : c.lines) list.push_back(line);
    ExpectHolds(list, c.lines, c.name + " (refilled)");
  }
}

TEST(LineList, CopiesMovesAndAssignmentsHoldTheSameLines) {
  for (const RoundTrip& c : RoundTrips()) {
    const LineList original = Filled(c.lines);
    LineList copy(original);
    ExpectHolds(copy, c.lines, c.name + " (copy)");
    const LineList moved(std::move(copy));
    ExpectHolds(moved, c.lines, c.name + " (moved)");
    EXPECT_TRUE(copy.empty()) << c.name;
    LineList assigned;
    assigned = c.lines;
    ExpectHolds(assigned, c.lines, c.name + " (assigned)");
    EXPECT_TRUE(assigned == original) << c.name;
  }
}

TEST(LineList, LinesAddedFromTheListItselfSurviveANewChunk) {
  LineList list;
  list.push_back(std::string(kFirstChunk - 1, 'q'));
  for (int i = 0; i < 3; ++i) list.push_back(list[0]);  // each needs a new chunk
  ExpectHolds(list, Lines(4, std::string(kFirstChunk - 1, 'q')), "self");
}

struct Erasure {
  std::string name;
  std::size_t lines, from, to;
};

TEST(LineList, EraseLeavesTheOtherLinesInOrderAndTakesNewOnes) {
  const std::vector<Erasure> cases = {
      {"the front", 10, 0, 4},
      {"the middle", 10, 3, 7},
      {"the end", 10, 6, 10},
      {"everything", 10, 0, 10},
      {"nothing", 10, 5, 5},
      {"the end of many chunks", 20000, 7001, 20000},
      {"the middle of many chunks", 20000, 4095, 12289},
  };
  for (const Erasure& c : cases) {
    Lines expected = Varied(c.lines);
    LineList list = Filled(expected);
    const auto at = list.erase(list.begin() + static_cast<long>(c.from),
                               list.begin() + static_cast<long>(c.to));
    EXPECT_EQ(at - list.begin(), static_cast<long>(c.from)) << c.name;
    expected.erase(expected.begin() + static_cast<long>(c.from),
                   expected.begin() + static_cast<long>(c.to));
    ExpectHolds(list, expected, c.name);
    for (const std::string& line : Varied(300)) {
      list.push_back(line);
      expected.push_back(line);
    }
    ExpectHolds(list, expected, c.name + " (then added to)");
  }
}

TEST(LineList, HoldsLittleMoreThanItsTextOnceFull) {
  // Receipt-width lines: the chunks' tails and the index of 4 bytes a line are all it adds.
  LineList list;
  const std::string line(40, 'r');
  for (int i = 0; i < 300000; ++i) list.push_back(line);
  const double held = static_cast<double>(list.BytesHeld());
  EXPECT_LT(held / static_cast<double>(list.TextBytes()), 1.15);
  list.clear();
  EXPECT_LE(list.BytesHeld(), kFirstChunk + 4096 * 4 + 64);
}

}  // namespace
}  // namespace morvek
