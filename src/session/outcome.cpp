#include "session/outcome.h"

#include <algorithm>

#include "codec/cp1251.h"
#include "platform/translation.h"

namespace morvek {

namespace {

struct ReasonText {
  Reason reason;
  std::string_view russian;  // UTF-8 here, Windows-1251 in the message
  std::string_view english;
};

constexpr ReasonText kReasons[] = {
    {Reason::kNone, "", ""},
    {Reason::kRefused, TrLater("РРО вернул ошибку"), "the register answered with an error"},
    {Reason::kNoFragment, TrLater("нет данных"), "no data"},
    {Reason::kSingleParam, TrLater("нет данных"), "a reply of one parameter"},
    {Reason::kNotInTransfer, TrLater("не передан"), "not in the transfer"},
    {Reason::kChecksum, TrLater("ошибка контрольной суммы"), "checksum error on every try"},
    {Reason::kNoReply, TrLater("нет ответа"), "no reply"},
    {Reason::kNak, TrLater("команда не принята"), "the register did not take the request (NAK)"},
    {Reason::kConnectionLost, TrLater("связь потеряна"), "connection lost"},
    {Reason::kCutShort, TrLater("получен не полностью"), "cut short after some fragments"},
    {Reason::kUnexpectedReply, TrLater("неожиданный ответ"), "a reply that is no fragment"},
    {Reason::kDoesNotParse, TrLater("ошибка в структуре документа"), "not well-formed XML"},
    {Reason::kRequestFailed, TrLater("сбой обработки запроса"), "the request failed"},
    {Reason::kDamagedBlock, TrLater("повреждён блок"), "a damaged block"},
    {Reason::kTransferBroken, TrLater("передача прервана"), "the transfer ended before it came"},
};

const ReasonText& TextOf(Reason reason) {
  return *std::find_if(std::begin(kReasons), std::end(kReasons),
                       [reason](const ReasonText& text) { return text.reason == reason; });
}

long long Size(const OutcomeRun& run) {
  return static_cast<long long>(run.last) - run.first + 1;
}

// At most this many numbers are named in the message; the rest only counted.
constexpr long long kNamedInMessage = 20;

}  // namespace

void RequestOutcome::Begin() {
  stage = Stage::kRefused;
  runs_.clear();
  next_ = 1;
  last_ = 0;
}

void RequestOutcome::Add(std::int32_t first, std::int32_t last, Fate fate, Reason reason,
                         const std::string& status) {
  if (last < first) return;
  next_ = static_cast<long long>(last) + 1;
  if (!runs_.empty()) {
    OutcomeRun& back = runs_.back();
    if (static_cast<long long>(back.last) + 1 == first && back.fate == fate &&
        back.reason == reason && back.status == status) {
      back.last = last;
      return;
    }
  }
  runs_.push_back({first, last, fate, reason, status});
}

void RequestOutcome::Ask(int type, std::int32_t first, std::int32_t last) {
  stage = Stage::kAsked;
  docType = type;
  runs_.clear();
  next_ = first;
  last_ = last;
}

void RequestOutcome::Abort(Reason reason) {
  std::vector<OutcomeRun> runs;
  runs.swap(runs_);
  for (OutcomeRun& run : runs) {
    if (run.fate == Fate::kDelivered) {
      run.fate = Fate::kLost;
      run.reason = reason;
    }
    Add(run.first, run.last, run.fate, run.reason, run.status);
  }
  if (next_ <= last_) Add(static_cast<std::int32_t>(next_), last_, Fate::kLost, reason);
}

long long RequestOutcome::Count(Fate fate) const {
  long long count = 0;
  for (const OutcomeRun& run : runs_)
    if (run.fate == fate) count += Size(run);
  return count;
}

bool RequestOutcome::NothingReached() const {
  return stage == Stage::kAsked && !runs_.empty() &&
         std::all_of(runs_.begin(), runs_.end(), [](const OutcomeRun& run) {
           return run.fate == Fate::kLost && run.reason == Reason::kConnectionLost;
         });
}

std::string LostDocumentsMessage(const RequestOutcome& outcome) {
  const long long lost = outcome.Count(Fate::kLost);
  std::string text = std::string(Tr("Не получено документов: ")) + std::to_string(lost);
  long long named = 0;
  for (const OutcomeRun& run : outcome.Runs()) {
    if (run.fate != Fate::kLost) continue;
    for (long long n = run.first; n <= run.last && named < kNamedInMessage; ++n, ++named) {
      text += "\n" + std::to_string(n) + ": " + std::string(Tr(TextOf(run.reason).russian));
      if (!run.status.empty()) text += " (" + run.status + ")";
    }
  }
  if (lost > named) text += "\n" + std::string(Tr("и ещё ")) + std::to_string(lost - named);
  return Utf8ToCp1251(text);
}

std::vector<std::string> UndeliveredLines(const RequestOutcome& outcome) {
  const bool z = outcome.docType == 0;
  std::vector<std::string> lines;
  for (const OutcomeRun& run : outcome.Runs()) {
    if (run.fate != Fate::kAbsent && run.fate != Fate::kLost) continue;
    std::string line = Size(run) == 1
                           ? std::string(z ? "Z-report " : "receipt ") + std::to_string(run.first)
                           : std::string(z ? "Z-reports " : "receipts ") +
                                 std::to_string(run.first) + " to " + std::to_string(run.last);
    line += run.fate == Fate::kLost ? ": lost: " : ": absent at the register: ";
    line += TextOf(run.reason).english;
    if (!run.status.empty()) line += " (status " + run.status + ")";
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace morvek
