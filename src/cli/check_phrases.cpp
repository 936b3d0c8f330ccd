#include <string>

#include "archive/archive_text.h"
#include "cli/check_report.h"

namespace morvek::check_phrase {

std::string Run(const NumberRun& run, const std::string& one, const std::string& many) {
  if (run.first == run.last) return one + " " + std::to_string(run.first);
  return many + " " + std::to_string(run.first) + " to " + std::to_string(run.last);
}

std::string Figure(const FigureKey& key) {
  std::string text(ShiftFigureName(key.figure));
  if (ByTaxLetter(key.figure)) text += ", tax " + key.taxLetter;
  if (ByPaymentForm(key.figure)) text += ", form " + std::to_string(key.form);
  return text;
}

std::string ShortDate(const std::string& timestamp) {
  const std::string shown = ShortTimestamp(timestamp);
  return shown == timestamp ? "" : shown.substr(0, 8);
}

std::string NotCheckable(const ShiftCheck& shift) {
  if (shift.state == ShiftState::kUnreadable) {
    std::string text = shift.unreadableDis.size() == 1 ? "DI " : "DIs ";
    for (std::size_t i = 0; i < shift.unreadableDis.size(); ++i)
      text += (i ? ", " : "") + std::to_string(shift.unreadableDis[i]);
    return text + " cannot be read";
  }
  if (shift.zNumber <= 1) return "the Z-report that opened it is not in the archive";
  return "Z-report " + std::to_string(shift.zNumber - 1) + " is not in the archive";
}

}  // namespace morvek::check_phrase
