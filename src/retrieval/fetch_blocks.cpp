// The block-transfer way of fetching a range: one transfer for each part of the range that no
// earlier transfer of the same document type loaded, and the outcome of every number.
#include <algorithm>
#include <map>

#include "app/application.h"
#include "retrieval/document_identity.h"
#include "retrieval/tform53.h"

namespace morvek {

namespace {

struct Named {
  Fate fate;
  Reason reason;
};

}  // namespace

void TForm53::FetchBlocks(int first, int last, int docType) {
  BeginAssembly();
  outcome.Ask(docType, first, last);
  const std::vector<interval::Range> gaps = loadedIntervals[docType].Gaps(first, last);
  alreadyLoaded = gaps.empty();
  long long next = first;  // the first number not yet given an outcome
  for (const auto& [s, e] : gaps) {
    outcome.Add(static_cast<int>(next), s - 1, Fate::kHeld);
    FetchBlockRange(s, e, docType);
    next = static_cast<long long>(e) + 1;
  }
  if (next <= last) outcome.Add(static_cast<int>(next), last, Fate::kHeld);
  // Only numbers that arrived or were held before are recorded: a number lost, or one the
  // register did not have yet, is asked again.
  toRecord_.clear();
  for (const OutcomeRun& run : outcome.Runs())
    if (run.fate == Fate::kDelivered || run.fate == Fate::kHeld)
      toRecord_.emplace_back(run.first, run.last);
  recordInterval = !alreadyLoaded && !toRecord_.empty();
  EndAssembly();
}

void TForm53::FetchBlockRange(int s, int e, int docType) {
  app_.Form4.Repaint();
  app_.ui.ProcessMessages();
  std::map<int, Named> named;  // the numbers the documents of this transfer carried
  long long highest = s - 1;   // the highest number a block or document named
  // A damaged block named a number that another document had or that lies outside the range: the
  // document it belonged to is not known, so no number missing from the transfer can be taken for
  // one the register lacks.
  bool unknownLoss = false;
  const auto name = [&](int number, Named what) {
    highest = std::max<long long>(highest, number);
    auto [it, added] = named.emplace(number, what);
    if (what.fate == Fate::kLost && (number < s || number > e || !added)) unknownLoss = true;
    // A document that arrived is not undone by a damaged copy of it.
    if (!added && it->second.fate == Fate::kLost) it->second = what;
  };
  BlockSink sink;
  sink.addDocument = [&](std::int32_t blockNumber, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const DocumentIdentity identity = IdentifyDocument(text);
    const int number = identity.number.value_or(blockNumber);
    if (!identity.wellFormed) return name(number, {Fate::kLost, Reason::kDoesNotParse});
    // A document the model holds from an earlier transfer is not added again: a range with a
    // document missing is fetched once more, and would show the others twice.
    const std::pair<int, std::string> key{docType,
                                          identity.di.empty() ? std::string(text) : identity.di};
    if (!loadedByBlocks_.insert(key).second) return name(number, {Fate::kHeld, Reason::kNone});
    addedByBlocks_.push_back(key);
    ListBox1.Add(std::string(text));
    name(number, {Fate::kDelivered, Reason::kNone});
  };
  sink.loseDocument = [&](std::int32_t blockNumber, Reason reason) {
    name(blockNumber, {Fate::kLost, reason});
  };
  const long long numbers = static_cast<long long>(e) - s + 1;
  sink.progress = [this, s, numbers](std::int32_t d) {
    ShowProgress(static_cast<long long>(d) - s, numbers, d);
  };
  const TransferEnd end = RunBlockTransfer(app_.Form1.ClientSocket1, blockTimings, blockReplyOwed_,
                                           docType, s, e, sink);

  // Numbers no document carried: gaps of the register's numbering up to where the transfer got,
  // lost from there when it broke off.
  const Reason broken = !app_.Form1.ClientSocket1.IsActive() ? Reason::kConnectionLost
                        : end == TransferEnd::kSilent        ? Reason::kNoReply
                                                             : Reason::kTransferBroken;
  const auto rest = [&](long long from, long long to) {
    if (to < from) return;
    const long long reached = end == TransferEnd::kLastBlock ? to : std::min(to, highest);
    outcome.Add(static_cast<int>(from), static_cast<int>(std::max(from - 1, reached)),
                unknownLoss ? Fate::kLost : Fate::kAbsent,
                unknownLoss ? Reason::kDamagedBlock : Reason::kNotInTransfer);
    outcome.Add(static_cast<int>(std::max(from, reached + 1)), static_cast<int>(to), Fate::kLost,
                broken);
  };
  long long next = s;
  for (const auto& [number, what] : named) {
    if (number < s || number > e) continue;
    rest(next, number - 1);
    outcome.Add(number, what.fate, what.reason);
    next = static_cast<long long>(number) + 1;
  }
  rest(next, e);
}

}  // namespace morvek
