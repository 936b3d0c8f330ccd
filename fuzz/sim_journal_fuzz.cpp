// Fuzz target: arbitrary bytes as a journal file given to the simulator. Either the reading refuses
// it with std::runtime_error, or every document is a slice of the text that starts with "<DAT", the
// slices follow one another without overlapping, and the lookups agree with the documents: each
// number found gives a document of its kind and number, a range comes in number order without a
// number twice, and the receipts stamped in the widest interval run from the lowest to the highest
// stamped receipt number. Anything else aborts.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>

#include "sim/journal.h"

namespace {

using namespace morvek::sim;

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Journal journal;
  try {
    journal = Journal::FromText(text);
  } catch (const std::runtime_error&) {
    return 0;
  }
  Check(journal.text() == text);
  std::size_t after = 0;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    const JournalDocument& d = journal.document(i);
    Check(d.begin >= after && d.begin < d.end && d.end <= text.size());
    Check(journal.Text(d).substr(0, 4) == "<DAT");
    after = d.end;
  }
  for (const DocumentKind kind : {DocumentKind::kReceipt, DocumentKind::kZReport}) {
    const auto all = journal.Range(kind, INT_MIN, INT_MAX);
    for (std::size_t i = 0; i < all.size(); ++i) {
      Check(all[i]->kind == kind);
      Check(i == 0 || all[i - 1]->number < all[i]->number);
      const JournalDocument* found = journal.Find(kind, all[i]->number);
      Check(found != nullptr && found->number == all[i]->number && found->kind == kind);
    }
  }
  int low = INT_MAX, high = INT_MIN;
  for (const JournalDocument* d : journal.Range(DocumentKind::kReceipt, INT_MIN, INT_MAX))
    if (d->stamp > 0) {
      low = std::min(low, d->number);
      high = std::max(high, d->number);
    }
  const auto stamped = journal.ReceiptsStamped(1, std::numeric_limits<std::int64_t>::max());
  Check(stamped.has_value() == (low <= high));
  if (stamped) Check(stamped->first == low && stamped->second == high);
  return 0;
}
