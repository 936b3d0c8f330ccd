#pragma once
// A journal file taken into the archive: read whole first, so that a file with one document the
// archive cannot take is refused without a trace, then stored in batches, each its own
// transaction, so that a run that is stopped keeps every batch it finished.
#include <cstddef>
#include <string_view>
#include <vector>

#include "archive/archive.h"

namespace morvek {

// The documents of a journal text, in its order. Raises ArchiveError naming the first document
// that cannot be read (or the text, when it cannot be sliced).
std::vector<DocumentRecord> ReadJournalDocuments(std::string_view journal);

// Stores the documents batchSize at a time; raises what the archive raises, after the batches
// before the failing one were committed.
StoreReport StoreInBatches(Archive& archive, std::vector<DocumentRecord> documents,
                           Arrival how, std::size_t batchSize = 1000);

}  // namespace morvek
