#pragma once
// Fetching a range of documents from a register: by number, fragment by fragment, or in block
// transfers where the register's firmware sends them so. What the caller holds already is
// skipped; every other number of the range gets its outcome. Nothing is kept between fetches:
// the caller decides what to skip.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "blocks/interval.h"
#include "link/register_link.h"
#include "platform/ui.h"
#include "session/outcome.h"

namespace morvek {

// A document as it came from the register: its type code (0 Z-reports, 1 the others), the number
// it carries (or the one it was asked for by), its DI (empty when it has none) and its XML as the
// register sent it, up to its first zero byte.
struct FetchedDocument {
  int docType = 1;
  int number = 0;
  std::string di;
  std::string xml;
};

// What tells two copies of a document apart: its type code and its DI, or its XML when it has none.
std::pair<int, std::string> DocumentKey(const FetchedDocument& document);

struct FetchResult {
  RequestOutcome outcome;
  // The fetch raised (a reply that could not be read): nothing of it is delivered.
  bool failed = false;
  std::vector<FetchedDocument> documents;  // in the order they came
  // The numbers a fetch by number settled: delivered, or answered with a single parameter. A
  // caller that skips them does not ask for them again.
  std::vector<int> settled;
};

struct FetchHooks {
  // Before each document (by number) or each transfer (by blocks) is asked for.
  std::function<void()> beforeAsking;
  // done of count asked for, at number.
  std::function<void(long long done, long long count, long long number)> progress;
  // By number: the caller holds this number and it is not asked for.
  std::function<bool(int number)> holdsNumber;
  // By blocks: the caller holds this document already; a transfer hands out every document of
  // its range, also those an earlier one brought. A fetch never delivers one document twice.
  std::function<bool(const FetchedDocument& document)> holdsDocument;
};

// The documents first to last of a type code asked for one by one. A reply that cannot be read
// raises (ConvertError); what came until then stays in `into`.
void FetchByNumber(RegisterLink& link, std::string_view password, int docType, int first, int last,
                   const FetchHooks& hooks, FetchResult& into);

// The documents first to last in one block transfer for each of the gaps (ascending runs within
// first..last that the caller does not hold); the numbers outside the gaps are held.
void FetchBlocks(RegisterLink& link, int docType, int first, int last,
                 const std::vector<interval::Range>& gaps, const FetchHooks& hooks,
                 FetchResult& into);

// A range by number starts at 1 and does not end before it starts; one that does not is refused
// with a message to the operator.
bool RangeIsValid(Ui& ui, int first, int last);

// Whole in `into` or not at all: a fetch that raised loses what it delivered and what it had not
// come to.
void Fetch(RegisterLink& link, std::string_view password, bool blocks, int docType, int first,
           int last, const FetchHooks& hooks, FetchResult& into);

}  // namespace morvek
