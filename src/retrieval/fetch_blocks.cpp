// The block-transfer way of fetching a range: which sub-ranges to ask for, given the ranges loaded
// before, and the assembled document they give.
#include "app/application.h"
#include "retrieval/tform53.h"

namespace morvek {

void TForm53::FetchBlocks(int first, int last, int docType) {
  BeginAssembly();
  alreadyLoaded = loadedIntervals.Covers(first, last);
  if (alreadyLoaded) {
    recordInterval = false;
    EndAssembly();
    return;
  }
  recordInterval = true;
  const int count = loadedIntervals.rangeCount;
  const int passes = count > 1 ? count - 1 : 1;
  loadedIntervals.mergePending = false;
  bool whole = true;
  int s = first;
  for (int pass = 0; pass < passes; ++pass) {
    int e = last;
    if (count > 1) {
      const interval::Range a = loadedIntervals.FindAt(s);
      if (a.first < s) {
        recordInterval = false;
      } else if (a.second >= e && a.first <= e) {
        recordInterval = false;
        break;
      } else {
        // Only a gap that really lies between two entries is fetched alone: with no entry after
        // a, FindAt gives the first entry, and its "gap" would run backwards.
        const long long next = static_cast<long long>(a.second) + 1;
        const interval::Range b =
            next <= last ? loadedIntervals.FindAt(static_cast<int>(next)) : interval::Range{};
        if (next <= last && b.first <= last && b.first > next) {
          s = static_cast<int>(next);
          e = b.first - 1;
          loadedIntervals.mergePending = true;
        } else {
          s = next <= last ? static_cast<int>(next) : first;
        }
      }
    }
    app_.Form4.Repaint();
    app_.ui.ProcessMessages();
    const int from = s;
    const long long numbers = static_cast<long long>(e) - s + 1;
    BlockSink sink;
    // A document the model holds from an earlier transfer is not added again: a range with a
    // document missing is fetched whole once more, and would show the others twice.
    sink.addDocument = [this, docType](std::int32_t number, std::string_view text) {
      if (!loadedByBlocks_.insert({docType, number}).second) return;
      addedByBlocks_.emplace_back(docType, number);
      AddAssembledDocument(text);
    };
    sink.progress = [this, from, numbers](std::int32_t d) {
      ShowProgress(static_cast<long long>(d) - from, numbers, d);
    };
    if (!RunBlockTransfer(app_.Form1.ClientSocket1, blockTimings, blockReplyOwed_, docType, s, e,
                          sink))
      whole = false;
    // A transfer that reached the end of the request leaves nothing for another pass, which
    // would only ask for the same documents again.
    if (e >= last) break;
  }
  // A range with a document missing is not recorded, so that it is asked again.
  if (!whole) {
    recordInterval = false;
    loadedIntervals.mergePending = false;
  }
  if (loadedIntervals.mergePending) loadedIntervals.Merge(first, last);
  EndAssembly();
}

}  // namespace morvek
