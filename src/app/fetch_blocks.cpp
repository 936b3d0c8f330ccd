// The block-transfer way of fetching a range: one transfer for each part of the range that no
// earlier transfer of the same document type loaded.
#include "app/application.h"
#include "app/tform53.h"
#include "session/fetch.h"

namespace morvek {

void TForm53::FetchBlocks(int first, int last, int docType) {
  BeginAssembly();
  const std::vector<interval::Range> gaps = loadedIntervals[docType].Gaps(first, last);
  alreadyLoaded = gaps.empty();
  FetchHooks hooks = RequestHooks();
  hooks.holdsDocument = [this](const FetchedDocument& document) {
    return loadedByBlocks_.count(DocumentKey(document)) != 0;
  };
  morvek::FetchBlocks(app_.Link(), docType, first, last, gaps, hooks, fetched);
  for (const FetchedDocument& document : fetched.documents) {
    loadedByBlocks_.insert(DocumentKey(document));
    addedByBlocks_.push_back(DocumentKey(document));
  }
  // Only numbers that arrived or were held before are recorded: a number lost, or one the
  // register did not have yet, is asked again.
  toRecord_.clear();
  for (const OutcomeRun& run : outcome.Runs())
    if (run.fate == Fate::kDelivered || run.fate == Fate::kHeld)
      toRecord_.emplace_back(run.first, run.last);
  recordInterval = !alreadyLoaded && !toRecord_.empty();
  EndAssembly();
}

}  // namespace morvek
