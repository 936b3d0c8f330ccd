#pragma once
#include "journal/document.h"

namespace morvek {

// Puts the documents at positions 0 .. doc_index - 1 in ascending order of di. Documents with
// equal di keep their loading order. An entry beyond the count (a DAT without its MAC) takes part
// in the sort but keeps its own content; positions the sorted documents do not reach (a MAC
// without its DAT) keep theirs.
void OrderDocuments(rq& model);

}  // namespace morvek
