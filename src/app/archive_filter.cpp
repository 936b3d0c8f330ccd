#include "app/archive_filter.h"

#include "archive/archive_text.h"
#include "platform/translation.h"

namespace morvek {

namespace {

constexpr DocumentKind kChoiceKinds[] = {DocumentKind::kReceipt, DocumentKind::kReturn,
                                         DocumentKind::kService, DocumentKind::kCancelled,
                                         DocumentKind::kZReport};

bool TrimmedEmpty(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

// A number field: empty reads as 0 (open); spaces around the number do not count.
bool ReadNumber(const std::string& text, long long& number) {
  if (TrimmedEmpty(text)) return number = 0, true;
  const std::size_t first = text.find_first_not_of(" \t");
  const std::size_t last = text.find_last_not_of(" \t");
  const std::optional<NumberRange> range = ParseNumberRange(text.substr(first, last - first + 1));
  if (!range || range->first != range->last) return false;
  number = range->first;
  return true;
}

// A date field: empty reads as open. The date edit shows "  .  .  " when nothing was typed.
bool ReadDate(const std::string& text, bool end, std::string& timestamp) {
  if (text.find_first_not_of(" .") == std::string::npos) return timestamp.clear(), true;
  const std::optional<std::string> day = end ? DayEnd(text) : DayStart(text);
  if (!day) return false;
  timestamp = *day;
  return true;
}

}  // namespace

// The choices' names, "любой" first, then one for each of kChoiceKinds.
constexpr std::string_view kChoiceNames[] = {TrLater("любой"),          TrLater("чек"),
                                             TrLater("возврат"),        TrLater("служебный"),
                                             TrLater("аннулированный"), TrLater("Z-отчет")};

std::vector<std::string> ArchiveKindChoices() {
  std::vector<std::string> choices;
  for (std::string_view name : kChoiceNames) choices.emplace_back(Tr(name));
  return choices;
}

std::string KindCaption(DocumentKind kind) {
  for (std::size_t i = 0; i < std::size(kChoiceKinds); ++i)
    if (kChoiceKinds[i] == kind) return std::string(Tr(kChoiceNames[i + 1]));
  return "";
}

std::optional<FindQuery> FilterQuery(const ArchiveFilter& filter, std::string& error) {
  FindQuery query;
  query.registerKey = filter.registerKey;
  if (!ReadDate(filter.from, false, query.from) || !ReadDate(filter.to, true, query.to)) {
    error = Tr("Дата пишется как ДД.ММ.ГГ, например 09.01.24");
    return std::nullopt;
  }
  if (!query.from.empty() && !query.to.empty() && query.to < query.from) {
    error = Tr("Конечная дата раньше начальной");
    return std::nullopt;
  }
  if (filter.kind > 0 && filter.kind <= static_cast<int>(std::size(kChoiceKinds)))
    query.kinds = {kChoiceKinds[filter.kind - 1]};
  if (!ReadNumber(filter.numberFrom, query.numberFrom) ||
      !ReadNumber(filter.numberTo, query.numberTo)) {
    error = Tr("Номер документа - целое число от 1");
    return std::nullopt;
  }
  if (query.numberTo != 0 && query.numberTo < query.numberFrom) {
    error = Tr("Конечный номер меньше начального");
    return std::nullopt;
  }
  query.text = filter.text;
  return query;
}

}  // namespace morvek
