#include "export/strip_flow.h"

#include <algorithm>

namespace morvek {

namespace {

struct Cursor {
  int page = 0, column = 0;
  std::size_t row = 0;  // the next free row of the column

  void NextColumn(int columnsPerPage) {
    row = 0;
    if (++column < columnsPerPage) return;
    column = 0;
    ++page;
  }
};

}  // namespace

std::vector<StripPiece> FlowStrips(const std::vector<std::size_t>& stripLines,
                                   std::size_t columnRows, int columnsPerPage) {
  columnRows = std::max<std::size_t>(columnRows, 2);
  columnsPerPage = std::max(columnsPerPage, 1);
  std::vector<StripPiece> pieces;
  Cursor at;
  for (std::size_t strip = 0; strip < stripLines.size(); ++strip) {
    const std::size_t length = stripLines[strip];
    if (length == 0) continue;
    std::size_t start = at.row == 0 ? 0 : at.row + 1;  // a blank row after the strip above
    // A strip that fits in a whole column never starts in one where it would not fit.
    if (start >= columnRows || (length > columnRows - start && length <= columnRows)) {
      at.NextColumn(columnsPerPage);
      start = 0;
    }
    std::size_t placed = 0;
    while (placed < length) {
      const bool continued = placed > 0;
      if (continued) {
        at.NextColumn(columnsPerPage);
        start = 1;  // under the continuation line
      }
      const std::size_t count = std::min(length - placed, columnRows - start);
      pieces.push_back({strip, placed, count, at.page, at.column, start, continued});
      placed += count;
      at.row = start + count;
    }
  }
  return pieces;
}

int PageCount(const std::vector<StripPiece>& pieces) {
  return pieces.empty() ? 0 : pieces.back().page + 1;
}

}  // namespace morvek
