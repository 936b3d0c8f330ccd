#pragma once
// What both backends decide alike about a query of the archive window.
#include "archive/archive.h"

namespace morvek {

// True when the query asks no more of a document than its register, its kind and whole days, so
// that its sums come from the daily totals instead of the documents.
bool AnsweredByDailyTotals(const FindQuery& query);

}  // namespace morvek
