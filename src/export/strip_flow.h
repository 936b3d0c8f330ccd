#pragma once
// Documents laid out on paper as strips of lines, the way they come off the register's printer:
// strips flow down columns, several columns side by side on a page. A strip moves whole to the
// next column when it does not fit in what is left of this one but fits in a whole column; only a
// strip longer than a whole column is split, and each of its further pieces starts at the top of
// a column under a line that says it continues. A page of one column is the desktop printer's.
#include <cstddef>
#include <vector>

namespace morvek {

struct StripPiece {
  std::size_t strip = 0;                 // which strip
  std::size_t firstLine = 0, lines = 0;  // the part of it placed here
  int page = 0, column = 0;
  std::size_t row = 0;     // where its first line stands in the column
  bool continued = false;  // a continuation line stands in the row above it

  bool operator==(const StripPiece&) const = default;
};

// Pieces in the order they are printed. columnRows: the rows of one column (at least 2 are used,
// one for a continuation line); strips in one column are kept apart by a blank row; strips with
// no lines take no room.
std::vector<StripPiece> FlowStrips(const std::vector<std::size_t>& stripLines,
                                   std::size_t columnRows, int columnsPerPage);

// The number of pages the pieces take (0 for none).
int PageCount(const std::vector<StripPiece>& pieces);

}  // namespace morvek
