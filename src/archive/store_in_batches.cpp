#include "archive/store_in_batches.h"

#include <iterator>

namespace morvek {

StoreReport StoreInBatches(Archive& archive, std::vector<DocumentRecord> documents, Arrival how,
                           std::size_t batchSize) {
  if (batchSize == 0) batchSize = 1;
  StoreReport total;
  std::vector<DocumentRecord> batch;
  for (std::size_t start = 0; start < documents.size(); start += batchSize) {
    const std::size_t end = std::min(documents.size(), start + batchSize);
    batch.assign(std::make_move_iterator(documents.begin() + static_cast<std::ptrdiff_t>(start)),
                 std::make_move_iterator(documents.begin() + static_cast<std::ptrdiff_t>(end)));
    const StoreReport report = archive.Store(batch, how);
    total.stored += report.stored;
    total.held += report.held;
  }
  return total;
}

}  // namespace morvek
