#pragma once
// A model and cursor loaded from journal texts the way the retrieval window loads them: the cursor
// reset before every load, the documents accumulating in the model.
#include <string>
#include <utility>
#include <vector>

#include "journal/loader.h"

namespace morvek::test {

struct Journal {
  rq model;
  control cursor;

  void Load(const std::string& xml) {
    cursor.Reset();
    LoadJournalText(model, cursor, xml);
  }
  dat& Doc(int index = 0) { return model.dats[index]; }
  check& Receipt(int index = 0) { return model.dats[index].checks[0]; }
  zvit& ZReport(int index = 0) { return model.dats[index].zvits[0]; }
};

using LineOrder = std::vector<std::pair<int, std::pair<int, int>>>;

inline LineOrder LinesOf(const check& c) {
  return {c.line_order.begin(), c.line_order.end()};
}

}  // namespace morvek::test
