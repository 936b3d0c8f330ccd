// The two ways of fetching a range: every document asked for fragment by fragment, or block
// transfers of the parts of the range the caller does not hold.
#include "session/fetch.h"

#include <algorithm>
#include <exception>
#include <map>
#include <set>

#include "codec/base64.h"
#include "codec/cp1251.h"
#include "journal/document_identity.h"
#include "platform/numbers.h"
#include "platform/translation.h"

namespace morvek {

namespace {

// Fragment requests made for one document at most.
constexpr int kMaxFragments = 0x8000;
// Tries for a fragment whose reply fails its checksum: a byte changed on the wire is not taken,
// and it is seldom changed twice.
constexpr int kFragmentTries = 4;

// One fragment exchange as the loop reads it.
struct FragmentReply {
  enum Kind { kData, kNoMore, kSingle, kRefused, kChecksum, kFailed };
  FragmentReply(Kind k, Reason r = Reason::kNone, std::string s = {}, std::string d = {})
      : kind(k), reason(r), status(std::move(s)), data(std::move(d)) {}
  Kind kind;
  Reason reason;
  std::string status;
  std::string data;  // the decoded fragment
};

FragmentReply AskFragment(RegisterLink& link, std::string_view password, int docType, int number,
                          int fragment) {
  const LinkReply reply = link.Fragment(password, docType, number, fragment);
  switch (reply.kind) {
    case LinkReply::Kind::kChecksum: return {FragmentReply::kChecksum, Reason::kChecksum};
    case LinkReply::Kind::kNak: return {FragmentReply::kFailed, Reason::kNak};
    case LinkReply::Kind::kNoReply: return {FragmentReply::kFailed, Reason::kNoReply};
    case LinkReply::Kind::kConnectionLost: return {FragmentReply::kFailed, Reason::kConnectionLost};
    case LinkReply::Kind::kAnswer: break;
  }
  if (!reply.refusal.empty()) return {FragmentReply::kRefused, Reason::kRefused, reply.refusal};
  if (reply.params.size() == 1) return {FragmentReply::kSingle};
  if (reply.params.size() != 2) return {FragmentReply::kFailed, Reason::kUnexpectedReply};
  // An indicator of 0 ends the document; so does -1 from a Datecs register, while a Zelmar one
  // sends data with it.
  const int indicator = StrToInt(reply.params[0]);
  if (indicator == 0 || (indicator == -1 && link.protocol() == Protocol::kDatecs))
    return {FragmentReply::kNoMore};
  return {FragmentReply::kData, Reason::kNone, {}, Base64Decode(reply.params[1])};
}

// One document asked for fragment by fragment.
struct DocumentResult {
  DocumentResult(Fate f, Reason r, std::string s = {}, bool done = false)
      : fate(f), reason(r), status(std::move(s)), settled(done) {}
  Fate fate;
  Reason reason;
  std::string status;
  bool settled;  // the caller need not ask for it again
};

DocumentResult FetchDocument(RegisterLink& link, std::string_view password, int docType, int number,
                             std::vector<FetchedDocument>& documents) {
  std::string text;
  bool fragments = false;  // at least one fragment arrived
  for (int fragment = 0; fragment < kMaxFragments; ++fragment) {
    FragmentReply reply = AskFragment(link, password, docType, number, fragment);
    for (int tries = 1; reply.kind == FragmentReply::kChecksum && tries < kFragmentTries; ++tries)
      reply = AskFragment(link, password, docType, number, fragment);
    switch (reply.kind) {
      case FragmentReply::kData:
        text += reply.data;
        fragments = true;
        continue;
      case FragmentReply::kNoMore:
        if (!fragments) return {Fate::kAbsent, Reason::kNoFragment};
        break;
      // A single parameter ends the document and settles it, whatever it says.
      case FragmentReply::kSingle:
        if (!fragments) return {Fate::kAbsent, Reason::kSingleParam, {}, true};
        break;
      case FragmentReply::kRefused:
        return fragments ? DocumentResult{Fate::kLost, Reason::kCutShort, reply.status}
                         : DocumentResult{Fate::kAbsent, Reason::kRefused, reply.status};
      // A document cut short by an error is left out whole: its first fragments alone would break
      // the assembled document, and settled it would never be asked again.
      default: return {Fate::kLost, reply.reason, reply.status};
    }
    break;
  }
  if (const std::size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
  // An empty document came whole: there is nothing of it to load.
  if (text.empty()) return {Fate::kDelivered, Reason::kNone, {}, true};
  DocumentIdentity identity = IdentifyDocument(text);
  if (!identity.wellFormed) return {Fate::kLost, Reason::kDoesNotParse};
  documents.push_back(
      {docType, identity.number.value_or(number), std::move(identity.di), std::move(text)});
  return {Fate::kDelivered, Reason::kNone, {}, true};
}

struct Named {
  Fate fate;
  Reason reason;
};

// One block transfer of s to e, with the outcome of each of its numbers.
void FetchBlockRange(RegisterLink& link, int docType, int s, int e, const FetchHooks& hooks,
                     std::set<std::pair<int, std::string>>& taken, FetchResult& into) {
  if (hooks.beforeAsking) hooks.beforeAsking();
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
    DocumentIdentity identity = IdentifyDocument(text);
    const int number = identity.number.value_or(blockNumber);
    if (!identity.wellFormed) return name(number, {Fate::kLost, Reason::kDoesNotParse});
    FetchedDocument document{docType, number, std::move(identity.di), std::string(text)};
    // A document held from an earlier transfer is not delivered again: a range with a document
    // missing is fetched once more, and would show the others twice.
    if ((hooks.holdsDocument && hooks.holdsDocument(document)) ||
        !taken.insert(DocumentKey(document)).second)
      return name(number, {Fate::kHeld, Reason::kNone});
    into.documents.push_back(std::move(document));
    name(number, {Fate::kDelivered, Reason::kNone});
  };
  sink.loseDocument = [&](std::int32_t blockNumber, BlockLoss loss) {
    name(blockNumber, {Fate::kLost, loss == BlockLoss::kDamaged ? Reason::kDamagedBlock
                                                                : Reason::kTransferBroken});
  };
  const long long numbers = static_cast<long long>(e) - s + 1;
  sink.progress = [&hooks, s, numbers](std::int32_t d) {
    if (hooks.progress) hooks.progress(static_cast<long long>(d) - s, numbers, d);
  };
  const TransferEnd end = link.TransferBlocks(docType, s, e, sink);

  // Numbers no document carried: gaps of the register's numbering up to where the transfer got,
  // lost from there when it broke off.
  const Reason broken = !link.Connected()             ? Reason::kConnectionLost
                        : end == TransferEnd::kSilent ? Reason::kNoReply
                                                      : Reason::kTransferBroken;
  RequestOutcome& outcome = into.outcome;
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

}  // namespace

std::pair<int, std::string> DocumentKey(const FetchedDocument& document) {
  return {document.docType, document.di.empty() ? document.xml : document.di};
}

void FetchByNumber(RegisterLink& link, std::string_view password, int docType, int first, int last,
                   const FetchHooks& hooks, FetchResult& into) {
  into.outcome.Ask(docType, first, last);
  // In 64 bits, so that neither the count nor the loop overflows at the ends of the int range.
  const long long count = static_cast<long long>(last) - first + 1;
  for (long long n = first; n <= last; ++n) {
    const int number = static_cast<int>(n);
    if (hooks.holdsNumber && hooks.holdsNumber(number)) {
      into.outcome.Add(number, Fate::kHeld);
      continue;
    }
    if (hooks.beforeAsking) hooks.beforeAsking();
    const DocumentResult result = FetchDocument(link, password, docType, number, into.documents);
    into.outcome.Add(number, result.fate, result.reason, result.status);
    if (hooks.progress) hooks.progress(n - first, count, n);
    if (result.settled) into.settled.push_back(number);
    // The connection is gone and the driver could not make it again: every further document
    // would only fail the same way, so the rest is left for a request after connecting again.
    if (!link.Connected()) {
      if (n < last) into.outcome.Add(number + 1, last, Fate::kLost, Reason::kConnectionLost);
      break;
    }
  }
}

void FetchBlocks(RegisterLink& link, int docType, int first, int last,
                 const std::vector<interval::Range>& gaps, const FetchHooks& hooks,
                 FetchResult& into) {
  into.outcome.Ask(docType, first, last);
  std::set<std::pair<int, std::string>> taken;
  long long next = first;  // the first number not yet given an outcome
  for (const auto& [s, e] : gaps) {
    into.outcome.Add(static_cast<int>(next), s - 1, Fate::kHeld);
    FetchBlockRange(link, docType, s, e, hooks, taken, into);
    next = static_cast<long long>(e) + 1;
  }
  if (next <= last) into.outcome.Add(static_cast<int>(next), last, Fate::kHeld);
}

bool RangeIsValid(Ui& ui, int first, int last) {
  if (first < 1) {
    ui.ShowMessage(std::string("Началный номер должен быть >0!"_tr));
    return false;
  }
  if (last < first) {
    ui.ShowMessage(std::string("Конечный номер должен быть не меньше начального!"_tr));
    return false;
  }
  return true;
}

void Fetch(RegisterLink& link, std::string_view password, bool blocks, int docType, int first,
           int last, const FetchHooks& hooks, FetchResult& into) {
  try {
    if (blocks)
      FetchBlocks(link, docType, first, last, {{first, last}}, hooks, into);
    else
      FetchByNumber(link, password, docType, first, last, hooks, into);
  } catch (const std::exception&) {
    into.failed = true;
    into.outcome.Abort(Reason::kRequestFailed);
    into.documents.clear();
    into.settled.clear();
  }
}

}  // namespace morvek
