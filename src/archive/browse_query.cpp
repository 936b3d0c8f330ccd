#include "archive/browse_query.h"

#include "archive/text_search.h"

namespace morvek {

bool AnsweredByDailyTotals(const FindQuery& query) {
  const bool wholeDays = (query.from.empty() || query.from.ends_with(" 00:00:00")) &&
                         (query.to.empty() || query.to.ends_with(" 23:59:59"));
  return wholeDays && query.numberFrom == 0 && query.numberTo == 0 &&
         AllWordsQuery(query.text).empty() && !query.amount && query.rrn.empty();
}

}  // namespace morvek
