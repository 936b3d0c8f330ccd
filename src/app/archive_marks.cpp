#include "app/archive_marks.h"

#include "archive/archive_text.h"
#include "platform/translation.h"

namespace morvek {

namespace {

std::string FigureCaption(const FigureKey& key) {
  static constexpr std::string_view kNames[] = {
      TrLater("чеков продажи"),    TrLater("чеков возврата"),    TrLater("оплаты продаж"),
      TrLater("оплаты возвратов"), TrLater("оборот продаж"),     TrLater("оборот возвратов"),
      TrLater("налог с продаж"),   TrLater("налог с возвратов"), TrLater("сбор с продаж"),
      TrLater("сбор с возвратов"), TrLater("служебный внос"),    TrLater("служебная выдача")};
  std::string caption(Tr(kNames[static_cast<int>(key.figure)]));
  if (ByTaxLetter(key.figure)) caption += " (" + std::string(Tr("налог ")) + key.taxLetter + ")";
  if (ByPaymentForm(key.figure))
    caption += " (" + std::string(Tr("форма ")) + std::to_string(key.form) + ")";
  return caption;
}

std::string FigureValue(ShiftFigure figure, long long value) {
  return IsMoney(figure) ? Hryvnias(value) : std::to_string(value);
}

std::string Runs(const std::vector<NumberRun>& runs) {
  std::string text;
  for (const NumberRun& run : runs) {
    if (!text.empty()) text += ", ";
    text += std::to_string(run.first);
    if (run.last != run.first) text += "–" + std::to_string(run.last);
  }
  return text;
}

// What is wrong with the shift, or why it cannot be checked; empty when it agrees.
std::string ShiftNote(const ShiftCheck& shift) {
  const std::string z = std::string(Tr("Смена Z-отчета № ")) + std::to_string(shift.zNumber);
  switch (shift.state) {
    case ShiftState::kConsistent: return "";
    case ShiftState::kDiffers: {
      std::string note = z + std::string(Tr(" не сходится с ее чеками:"));
      for (const ShiftDifference& d : shift.differences)
        note += "\n  " + FigureCaption(d.key) + std::string(Tr(": по Z-отчету ")) +
                FigureValue(d.key.figure, d.zReport) + std::string(Tr(", по чекам ")) +
                FigureValue(d.key.figure, d.receipts);
      return note;
    }
    case ShiftState::kIncomplete: {
      std::string note = z + std::string(Tr(": в архиве нет ее документов"));
      if (!shift.missingDis.empty()) note += "\n  DI " + Runs(shift.missingDis);
      if (!shift.missingReceipts.empty())
        note += "\n  " + std::string(Tr("чеки № ")) + Runs(shift.missingReceipts);
      return note;
    }
    case ShiftState::kWithoutOpening:
      return z + std::string(Tr(" не проверяется: в архиве нет Z-отчета, открывшего ее"));
    case ShiftState::kUnreadable:
      return z + std::string(Tr(" не проверяется: не читаются документы DI ")) + Runs([&] {
               std::vector<NumberRun> runs;
               for (const long long di : shift.unreadableDis) runs.push_back({di, di});
               return runs;
             }());
  }
  return "";
}

}  // namespace

RowMark MarkOf(const DocumentCheck& check) {
  RowMark mark{MarkState::kUnchecked, ""};
  std::vector<std::string> faults;
  if (!check.unreadable.empty())
    faults.push_back(std::string(Tr("Документ не читается: ")) + check.unreadable);
  if (check.gapBefore)
    faults.push_back(std::string(Tr("Перед ним в архиве нет номеров ")) + Runs({*check.gapBefore}));
  if (check.shift) {
    const std::string note = ShiftNote(*check.shift);
    const ShiftState state = check.shift->state;
    if (state == ShiftState::kDiffers || state == ShiftState::kIncomplete ||
        state == ShiftState::kUnreadable)
      faults.push_back(note);
    else if (state == ShiftState::kWithoutOpening)
      mark.note = note;
    else
      mark.state = MarkState::kConsistent, mark.note = std::string(Tr("Смена Z-отчета № ")) +
                                                       std::to_string(check.shift->zNumber) +
                                                       std::string(Tr(" сходится"));
  } else {
    mark.note = Tr("Смена еще не закрыта Z-отчетом");
  }
  if (faults.empty()) return mark;
  mark.state = MarkState::kFault;
  mark.note.clear();
  for (const std::string& fault : faults) mark.note += (mark.note.empty() ? "" : "\n") + fault;
  return mark;
}

std::string MarkSymbol(MarkState state) {
  switch (state) {
    case MarkState::kPending: return "…";
    case MarkState::kConsistent: return "✓";
    case MarkState::kFault: return "!";
    case MarkState::kUnchecked: return "?";
  }
  return "";
}

}  // namespace morvek
