#pragma once
// Documents taken into the archive in batches, each its own transaction, so that a run that is
// stopped keeps every batch it finished.
#include <cstddef>
#include <string_view>
#include <vector>

#include "archive/archive.h"

namespace morvek {

// Stores the documents batchSize at a time; raises what the archive raises, after the batches
// before the failing one were committed.
StoreReport StoreInBatches(Archive& archive, std::vector<DocumentRecord> documents, Arrival how,
                           std::size_t batchSize = 1000);

}  // namespace morvek
