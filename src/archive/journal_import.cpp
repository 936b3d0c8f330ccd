#include "archive/journal_import.h"

#include <exception>
#include <iterator>
#include <string>

namespace morvek {

std::vector<DocumentRecord> ReadJournalDocuments(std::string_view journal) {
  std::vector<std::string_view> slices;
  try {
    slices = SliceDocuments(journal);
  } catch (const std::exception& failure) {
    throw ArchiveError(std::string("not a journal: ") + failure.what());
  }
  std::vector<DocumentRecord> documents;
  documents.reserve(slices.size());
  for (const std::string_view slice : slices) {
    try {
      documents.push_back(ReadDocument(slice));
    } catch (const std::exception& failure) {
      throw ArchiveError("document " + std::to_string(documents.size() + 1) +
                         " of the journal: " + failure.what());
    }
  }
  return documents;
}

StoreReport StoreInBatches(Archive& archive, std::vector<DocumentRecord> documents,
                           Arrival how, std::size_t batchSize) {
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
